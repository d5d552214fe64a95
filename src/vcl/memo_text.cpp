#include "vcl/memo_text.h"

#include <algorithm>

size_t MemoText::RowLength(size_t row) const {
  if (row + 1 < starts_.size()) return starts_[row + 1] - 2 - starts_[row];
  return text_.size() - starts_[row];
}

size_t MemoText::RowOf(size_t offset) const {
  auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
  return static_cast<size_t>(after - starts_.begin()) - 1;
}

void MemoText::Clear() {
  text_.clear();
  starts_.assign(1, 0);
}

void MemoText::SetText(std::string text) {
  text_ = std::move(text);
  starts_.assign(1, 0);
  IndexFrom(0);
}

// Either the whole line is added or, when memory runs out, nothing is.
void MemoText::AppendLine(const std::string& line) {
  const size_t oldLength = text_.size(), oldRows = starts_.size();
  const size_t needed = oldLength + line.size() + 2;
  if (needed > text_.capacity()) text_.reserve(std::max(needed, 2 * text_.capacity()));
  text_ += line;
  text_ += "\r\n";
  try {
    // The new text can complete a CR LF whose CR ends the old text.
    IndexFrom(oldLength == 0 ? 0 : oldLength - 1);
  } catch (...) {
    text_.resize(oldLength);
    starts_.resize(oldRows);
    throw;
  }
}

// Records the row starts of the CR LF pairs that begin at or after from.
void MemoText::IndexFrom(size_t from) {
  for (size_t at = text_.find("\r\n", from); at != std::string::npos;
       at = text_.find("\r\n", at + 2))
    starts_.push_back(at + 2);
}
