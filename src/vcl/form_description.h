#pragma once
// Reader of the text form descriptions that the executable carries: a tree of
// objects ("object Name: TClass ... end") with their property assignments.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct TPropValue {
  enum class Kind { Integer, String, Identifier, Set };
  Kind kind = Kind::Integer;
  int64_t integer = 0;
  std::string text;                  // String: the text; Identifier: the name
  std::vector<std::string> members;  // Set: the member names
};

struct TFormObject {
  std::string name, className;
  int line = 0;  // where the object starts, for messages
  std::vector<std::pair<std::string, TPropValue>> properties;
  std::vector<TFormObject> children;
};

// Parses a whole description; a syntax fault raises EReadError naming the line.
TFormObject ParseFormDescription(const std::string& text);
