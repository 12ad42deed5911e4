#pragma once
// A read-only rich-edit control that shows text written in the HTML subset of HtmlToRtf.h (the
// news window's message).
#include <initializer_list>

#include "toolkit/ERWindow.h"

namespace DAVavador {

// A rich-edit library and the window class of its control.
struct RichEditLibrary {
  const wchar_t* file;
  const wchar_t* className;
};

// The rich-edit library one control uses: the first candidate that loads, freed with the context.
// Without any, the class name stays empty and no control can be made.
class RichEditContext {
 public:
  // Msftedit.dll (RICHEDIT50W), Riched20.dll (RichEdit20W), Riched32.dll (RICHEDIT).
  RichEditContext();
  explicit RichEditContext(std::initializer_list<RichEditLibrary> candidates);
  ~RichEditContext();
  RichEditContext(const RichEditContext&) = delete;
  RichEditContext& operator=(const RichEditContext&) = delete;

  HMODULE library = nullptr;
  WString className;
  bool keepLinkTags = true;  // passed to the converter
};

class ERHTML2RTF : public ERWindow {
 public:
  ERHTML2RTF() = default;
  // With other libraries than the system's chain.
  explicit ERHTML2RTF(std::initializer_list<RichEditLibrary> candidates) : context_(candidates) {}
  ~ERHTML2RTF() override;

  bool Create(HWND parent, int id) override;
  bool CreateAt(HWND parent, int id, int x, int y, int width, int height) override;
  // Converts the HTML to RTF and streams it into the control, replacing what it showed. Does
  // nothing while there is no control.
  void SetText(const WString& html) override;
  void SetText(const WChar* html) override;

  const RichEditContext& Context() const { return context_; }

 private:
  RichEditContext context_;
};

}  // namespace DAVavador
