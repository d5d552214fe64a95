#include "vcl/form_description.h"

#include <cctype>

#include "vcl/exceptions.h"

namespace {

class Parser {
 public:
  explicit Parser(const std::string& text) : s_(text) {}

  TFormObject ParseRoot() {
    TFormObject root = ParseObject();
    SkipBlanks();
    if (pos_ < s_.size()) Fail("text after the last 'end'");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw EReadError("Form description, line " + std::to_string(line_) + ": " + what);
  }

  void SkipBlanks() {
    while (pos_ < s_.size()) {
      char c = s_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else {
        break;
      }
    }
  }

  static bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
  }

  std::string Name() {
    SkipBlanks();
    size_t start = pos_;
    while (pos_ < s_.size() && IsNameChar(s_[pos_])) ++pos_;
    if (start == pos_) Fail("a name was expected");
    return s_.substr(start, pos_ - start);
  }

  void Expect(char c) {
    SkipBlanks();
    if (pos_ >= s_.size() || s_[pos_] != c) Fail(std::string("'") + c + "' was expected");
    ++pos_;
  }

  TFormObject ParseObject() {
    if (Name() != "object") Fail("'object' was expected");
    TFormObject obj;
    obj.line = line_;
    obj.name = Name();
    Expect(':');
    obj.className = Name();
    for (;;) {
      std::string word = Name();
      if (word == "end") return obj;
      if (word == "object") {
        pos_ -= 6;
        obj.children.push_back(ParseObject());
        continue;
      }
      Expect('=');
      obj.properties.emplace_back(word, Value());
    }
  }

  // A value starts on the line of its property name; only a text may begin
  // on the next line (long texts are written that way).
  TPropValue Value() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
    if (pos_ >= s_.size()) Fail("a value was expected");
    if (s_[pos_] == '\r' || s_[pos_] == '\n') {
      int propertyLine = line_;
      SkipBlanks();
      if (pos_ >= s_.size() || (s_[pos_] != '\'' && s_[pos_] != '#')) {
        line_ = propertyLine;
        Fail("a value was expected");
      }
    }
    TPropValue v;
    char c = s_[pos_];
    if (c == '\'' || c == '#') {
      v.kind = TPropValue::Kind::String;
      v.text = StringValue();
    } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
      v.kind = TPropValue::Kind::Integer;
      v.integer = Number();
    } else if (c == '[') {
      v.kind = TPropValue::Kind::Set;
      ++pos_;
      SkipBlanks();
      if (pos_ < s_.size() && s_[pos_] == ']') {
        ++pos_;
      } else {
        for (;;) {
          v.members.push_back(Name());
          SkipBlanks();
          if (pos_ < s_.size() && s_[pos_] == ',') {
            ++pos_;
            continue;
          }
          Expect(']');
          break;
        }
      }
    } else {
      v.kind = TPropValue::Kind::Identifier;
      v.text = Name();
    }
    return v;
  }

  int64_t Number() {
    bool negative = s_[pos_] == '-';
    if (negative) ++pos_;
    if (pos_ >= s_.size() || !std::isdigit(static_cast<unsigned char>(s_[pos_])))
      Fail("a number was expected");
    int64_t n = 0;
    while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
      if (n > 100000000000LL) Fail("number out of range");
      n = n * 10 + (s_[pos_++] - '0');
    }
    return negative ? -n : n;
  }

  // 'quoted' pieces ('' is one quote) and #nnn character codes, joined.
  std::string StringValue() {
    std::string out;
    while (pos_ < s_.size()) {
      char c = s_[pos_];
      if (c == '\'') {
        ++pos_;
        for (;;) {
          if (pos_ >= s_.size() || s_[pos_] == '\n') Fail("unterminated text");
          if (s_[pos_] == '\'') {
            if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
              out += '\'';
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          out += s_[pos_++];
        }
      } else if (c == '#') {
        ++pos_;
        int64_t code = Number();
        if (code < 0 || code > 255) Fail("character code out of range");
        out += static_cast<char>(code);
      } else if (c == '+') {  // a long text continues on the next line
        ++pos_;
        SkipBlanks();
        if (pos_ >= s_.size() || (s_[pos_] != '\'' && s_[pos_] != '#'))
          Fail("text expected after '+'");
      } else {
        break;
      }
      size_t save = pos_;
      int saveLine = line_;
      SkipBlanks();
      if (pos_ >= s_.size() || s_[pos_] != '+') {
        pos_ = save;
        line_ = saveLine;
      }
    }
    return out;
  }

  const std::string& s_;
  size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

TFormObject ParseFormDescription(const std::string& text) { return Parser(text).ParseRoot(); }
