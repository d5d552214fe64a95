#include "vcl/stdctrls.h"

void TButton::Notify(WORD code) {
  if (code == BN_CLICKED) Click();
}
