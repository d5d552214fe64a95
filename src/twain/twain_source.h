#pragma once
// One data source that the TWAIN data source manager reported: its identity
// record, as the manager filled it in.
#include "twain/twain_types.h"
#include "vcl/classes.h"

class TTwainSource : public TObject {
 public:
  TTwainSource() : identity_() {}
  TW_IDENTITY& Identity() { return identity_; }
  const TW_IDENTITY& Identity() const { return identity_; }

 private:
  TW_IDENTITY identity_;
};
