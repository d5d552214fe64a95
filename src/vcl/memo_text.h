#pragma once
// The text of a memo and where its rows start. A row ends at CR LF, as in a
// Windows edit control: a lone CR or LF stays inside its row, and the text
// "a\r\nb\r\n" has three rows, the last one empty.
#include <cstddef>
#include <string>
#include <vector>

class MemoText {
 public:
  MemoText() { Clear(); }
  const std::string& Text() const { return text_; }
  size_t Length() const { return text_.size(); }
  size_t RowCount() const { return starts_.size(); }
  // First character of the row, and its length without the closing CR LF.
  size_t RowStart(size_t row) const { return starts_[row]; }
  size_t RowLength(size_t row) const;
  // The row that holds the character at offset (a CR LF belongs to the row it ends).
  size_t RowOf(size_t offset) const;

  void Clear();
  void SetText(std::string text);
  // Appends the line followed by CR LF; costs only the length of the line.
  void AppendLine(const std::string& line);

 private:
  void IndexFrom(size_t from);

  std::string text_;
  std::vector<size_t> starts_;
};
