#include "vcl/stdctrls.h"

bool TCheckBox::Checked() const {
  if (!handle_) return checked_;
  return SendMessageA(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool checked) {
  checked_ = checked;
  if (handle_) SendMessageA(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::SetProperty(const std::string& name, const TPropValue& v, TReader& reader) {
  if (name == "Checked") {
    checked_ = reader.Boolean(name, v);
  } else {
    TControl::SetProperty(name, v, reader);
  }
}

void TCheckBox::HandleCreated() { SetChecked(checked_); }

// Every change of the box by mouse or keyboard comes as BN_CLICKED.
void TCheckBox::Notify(WORD code) {
  if (code == BN_CLICKED) Click();
}
