#include "vcl/stdctrls.h"

// The classes that form descriptions may name, registered once at start-up.
void RegisterStandardClasses() {
  RegisterComponentClass("TLabel", [] { return std::make_unique<TLabel>(); });
  RegisterComponentClass("TButton", [] { return std::make_unique<TButton>(); });
  RegisterComponentClass("TCheckBox", [] { return std::make_unique<TCheckBox>(); });
  RegisterComponentClass("TEdit", [] { return std::make_unique<TEdit>(); });
  RegisterComponentClass("TMemo", [] { return std::make_unique<TMemo>(); });
  RegisterComponentClass("TBevel", [] { return std::make_unique<TBevel>(); });
  RegisterComponentClass("TXPManifest", [] { return std::make_unique<TXPManifest>(); });
}
