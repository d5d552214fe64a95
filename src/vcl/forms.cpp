#include "vcl/forms.h"

#include <commctrl.h>

#include <algorithm>

#include "vcl/stdctrls.h"

TApplication* Application = nullptr;

std::string AddFullStop(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

std::string TitleFromModuleFileName(const std::string& path) {
  size_t start = path.find_last_of("\\/:");
  std::string title = path.substr(start == std::string::npos ? 0 : start + 1);
  title = title.substr(0, title.find('.'));
  if (title.size() > 1) CharLowerBuffA(&title[1], static_cast<DWORD>(title.size() - 1));
  return title;
}

TForm::~TForm() {
  if (handle_) DestroyWindow(handle_);
}

void TForm::SetProperty(const std::string& name, const TPropValue& v, TReader& reader) {
  if (name == "ClientWidth") {
    ClientWidth = static_cast<int>(reader.Integer(name, v));
  } else if (name == "ClientHeight") {
    ClientHeight = static_cast<int>(reader.Integer(name, v));
  } else if (name == "Color") {
    Color = ColorFromProperty(name, v, reader);
  } else if (name == "Position") {
    if (reader.Identifier(name, v) != "poDesigned")
      reader.Fail("Only Position = poDesigned is supported");
  } else if (name == "PixelsPerInch") {
    if (reader.Integer(name, v) != 96) reader.Fail("Only PixelsPerInch = 96 is supported");
  } else if (name == "TextHeight") {
    reader.Integer(name, v);
  } else if (name == "AutoScroll") {
    if (reader.Boolean(name, v)) reader.Fail("Only AutoScroll = False is supported");
  } else {
    TControl::SetProperty(name, v, reader);
  }
}

void TForm::CreateWindowOfForm() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HICON icon = LoadIconA(instance, "MAINICON");
  HBRUSH background = (Color & clSystemColor) ? GetSysColorBrush(static_cast<int>(Color & 0xFF))
                                              : CreateSolidBrush(ColorToRGB(Color));
  RegisterOwnWindowClass(windowClass_.c_str(), background, icon);
  RECT r{0, 0, ClientWidth, ClientHeight};
  AdjustWindowRectEx(&r, Style(), FALSE, ExStyle());
  Width = r.right - r.left;
  Height = r.bottom - r.top;
  HWND h = CreateWindowExA(ExStyle(), windowClass_.c_str(), caption_.c_str(), Style(), Left, Top,
                           Width, Height, nullptr, nullptr, instance, this);
  if (!h) throw EOSError("Cannot create the window of " + Name);
  HICON small =
      static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                    GetSystemMetrics(SM_CYSMICON), 0));
  if (small) SendMessageA(h, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void TForm::Load(const TFormObject& description, const TPublishedTable& table) {
  TReader reader(*this, table);
  Name = description.name;
  windowClass_ = description.className;
  reader.SetContext(Name);
  for (const auto& [name, value] : description.properties) SetProperty(name, value, reader);
  CreateWindowOfForm();

  int id = 100;  // control ids stay clear of IDOK and IDCANCEL
  std::vector<TControl*> tabbed;
  for (const TFormObject& child : description.children) {
    reader.SetContext(child.name);
    std::unique_ptr<TComponent> component = CreateComponentOfClass(child.className);
    if (!component) reader.Fail("Class " + child.className + " not found");
    if (!child.children.empty()) reader.Fail("Component " + child.name + " cannot hold others");
    component->Name = child.name;
    if (const TPublishedTable::FieldSetter* field = table.FindField(child.name))
      (*field)(*this, component.get());
    auto* control = dynamic_cast<TControl*>(component.get());
    if (control) control->Font = Font;  // a control starts with its form's font
    for (const auto& [name, value] : child.properties) component->SetProperty(name, value, reader);
    if (control) {
      control->CreateHandle(handle_, id++);
      if (control->TabOrder >= 0) tabbed.push_back(control);
    }
    component->Loaded();
    components_.push_back(std::move(component));
  }
  // The dialog manager walks the z-order: put the tab stops in tab order.
  std::stable_sort(tabbed.begin(), tabbed.end(),
                   [](TControl* a, TControl* b) { return a->TabOrder < b->TabOrder; });
  for (TControl* control : tabbed)
    SetWindowPos(control->Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::Show() {
  ShowWindow(handle_, SW_SHOWNORMAL);
  UpdateWindow(handle_);
}

LRESULT TForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (lp) {
        if (TControl* child = TControl::FromHandle(reinterpret_cast<HWND>(lp)))
          child->Notify(HIWORD(wp));
      }
      return 0;  // IDOK and IDCANCEL from the dialog manager (Enter, Esc) do nothing
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      if (TControl* child = TControl::FromHandle(reinterpret_cast<HWND>(lp)))
        return reinterpret_cast<LRESULT>(child->CtlColor(reinterpret_cast<HDC>(wp)));
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(handle_, focus)) lastFocus_ = focus;
      } else if (!everActive_ || !lastFocus_ || !IsWindow(lastFocus_)) {
        everActive_ = true;
        // The first control in tab order takes the focus.
        SetFocus(GetNextDlgTabItem(handle_, nullptr, FALSE));
      } else {
        SetFocus(lastFocus_);
      }
      return 0;
    case WM_CLOSE:
      if (Application->MainForm() == this && Application->InHandler()) {
        // A handler is still running (it let this message through): close
        // once it has returned, so that it never works on destroyed windows.
        ShowWindow(handle_, SW_HIDE);
        Application->RequestCloseAfterHandlers();
        return 0;
      }
      DestroyWindow(handle_);
      return 0;
    case WM_DESTROY:
      if (Application->MainForm() == this) PostQuitMessage(0);
      return 0;
  }
  return TControl::WndProc(msg, wp, lp);
}

TApplication::TApplication() {
  Application = this;
  char path[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  title_ = TitleFromModuleFileName(path);
}

TApplication::~TApplication() {
  forms_.clear();
  Application = nullptr;
}

void TApplication::Initialize() {
  InitCommonControls();
  RegisterStandardClasses();
}

void TApplication::LoadForm(TForm& form, const char* className, const TPublishedTable& table) {
  HRSRC res = FindResourceA(nullptr, className, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  HGLOBAL data = res ? LoadResource(nullptr, res) : nullptr;
  const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
  if (!bytes) throw EReadError(std::string("Resource ") + className + " not found");
  TFormObject description = ParseFormDescription(std::string(bytes, SizeofResource(nullptr, res)));
  if (description.className != className)
    throw EReadError("The form description of " + std::string(className) + " describes " +
                     description.className);
  form.Load(description, table);
}

bool TApplication::Dispatch(MSG& msg) {
  // Enter on a focused button clicks it, as Space does.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
    if (auto* button = dynamic_cast<TButton*>(TControl::FromHandle(msg.hwnd))) {
      RunHandler([button] { button->Click(); });
      return true;
    }
  }
  TForm* main = MainForm();
  if (main && main->Handle() && IsDialogMessageA(main->Handle(), &msg)) return true;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return true;
}

void TApplication::Run() {
  if (TForm* main = MainForm()) main->Show();
  MSG msg;
  while (!terminated_) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    Dispatch(msg);
  }
  terminated_ = true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (!terminated_ && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      break;
    }
    Dispatch(msg);
  }
}

bool TApplication::RunHandler(const std::function<void()>& handler) {
  bool ok = true;
  try {
    handler();
  } catch (...) {
    ok = false;
    HandleCurrentException();
  }
  return ok;
}

bool TApplication::RunEventHandler(const std::function<void()>& handler) {
  ++handlerDepth_;
  bool ok = RunHandler(handler);
  if (--handlerDepth_ == 0 && closePending_) {
    closePending_ = false;
    if (TForm* main = MainForm()) main->Close();
  }
  return ok;
}

void TApplication::HandleCurrentException() {
  try {
    throw;
  } catch (const EAbort&) {
  } catch (const Exception& e) {
    ShowException(e.Message());
  } catch (const std::bad_alloc&) {
    ShowException("Out of memory");
  } catch (const std::exception& e) {
    ShowException(e.what());
  } catch (...) {
    ShowException("Unknown failure");
  }
}

void TApplication::ShowException(const std::string& message) {
  try {
    TForm* main = MainForm();
    HWND owner =
        main && main->Handle() && IsWindowVisible(main->Handle()) ? main->Handle() : nullptr;
    MessageBoxA(owner, AddFullStop(message).c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
  } catch (...) {
  }
}

void ShowMessage(const std::string& message) {
  // No owner and task-modal: centred on the screen, every window of ours disabled.
  MessageBoxA(nullptr, message.c_str(), Application->Title().c_str(), MB_OK | MB_TASKMODAL);
}
