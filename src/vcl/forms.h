#pragma once
// Forms and the application object.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "vcl/controls.h"

// A top-level window built from its form description.
class TForm : public TControl {
 public:
  ~TForm() override;
  TColor Color = clBtnFace;
  int ClientWidth = 0, ClientHeight = 0;

  void SetProperty(const std::string& name, const TPropValue& value, TReader& reader) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void Show();
  void Close() { PostMessageA(handle_, WM_CLOSE, 0, 0); }

  // Reads the description, creates the window and every component in order.
  void Load(const TFormObject& description, const TPublishedTable& table);

 protected:
  const char* WindowClassName() const override { return windowClass_.c_str(); }
  DWORD Style() const override { return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN; }

 private:
  void CreateWindowOfForm();
  std::string windowClass_;
  std::vector<std::unique_ptr<TComponent>> components_;
  HWND lastFocus_ = nullptr;
  bool everActive_ = false;
};

// Formats a failure's message for the error box: a full stop is added when
// the last character comes after "." in the character order.
std::string AddFullStop(const std::string& message);
// The default title: the file name up to its first full stop, the letters
// after the first one in lower case.
std::string TitleFromModuleFileName(const std::string& path);

class TApplication {
 public:
  TApplication();
  ~TApplication();

  void Initialize();
  template <typename Form>
  void CreateForm(Form*& reference) {
    auto form = std::make_unique<Form>();
    reference = form.get();
    LoadForm(*form, Form::ClassName, Form::Published());
    forms_.push_back(std::move(form));
  }
  void Run();
  // Handles every waiting window message, then returns.
  void ProcessMessages();

  const std::string& Title() const { return title_; }
  TForm* MainForm() const { return forms_.empty() ? nullptr : forms_.front().get(); }
  bool Terminated() const { return terminated_; }

  // Runs an event handler: no C++ exception leaves it; a failure goes to the
  // default handling. Returns false when the handler failed.
  bool RunHandler(const std::function<void()>& handler);
  // The same for a click handler, which closing the main window waits for.
  bool RunEventHandler(const std::function<void()>& handler);
  // The default handling of a failure: EAbort silent, any other shown.
  void HandleCurrentException();
  void ShowException(const std::string& message);
  // True while a click handler runs (for instance a report that lets
  // messages through): closing the main window then waits for its end.
  bool InHandler() const { return handlerDepth_ > 0; }
  void RequestCloseAfterHandlers() { closePending_ = true; }

 private:
  void LoadForm(TForm& form, const char* className, const TPublishedTable& table);
  bool Dispatch(MSG& msg);

  std::string title_;
  std::vector<std::unique_ptr<TForm>> forms_;
  bool terminated_ = false;
  int handlerDepth_ = 0;
  bool closePending_ = false;
};

extern TApplication* Application;

// The message dialog: the text, no icon, one OK button, centred on the
// screen, the application's title; modal to the application's windows.
void ShowMessage(const std::string& message);
