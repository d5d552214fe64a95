#pragma once
// The class library's failures. Every failure the tool raises derives from
// Exception; EAbort is the silent kind that the default handling drops.
#include <stdexcept>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
};

// A form description that cannot be read.
class EReadError : public Exception {
 public:
  using Exception::Exception;
};

// A hardware fault (access violation and the like) raised in foreign code.
class EExternalException : public Exception {
 public:
  using Exception::Exception;
};

class EOSError : public Exception {
 public:
  using Exception::Exception;
};
