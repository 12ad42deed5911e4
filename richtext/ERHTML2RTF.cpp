#include "richtext/ERHTML2RTF.h"

#include <richedit.h>

#include <algorithm>

#include "richtext/HtmlToRtf.h"

namespace DAVavador {
namespace {

struct RtfReader {
  const WString& rtf;
  size_t at;
};

// The control reads bytes: each UTF-16 unit of the RTF text gives its low 8 bits.
DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
  auto& reader = *reinterpret_cast<RtfReader*>(cookie);
  size_t count = std::min(size_t(size), reader.rtf.size() - reader.at);
  for (size_t i = 0; i < count; ++i) buffer[i] = BYTE(reader.rtf[reader.at + i] & 0xFF);
  reader.at += count;
  *done = LONG(count);
  return 0;
}

}  // namespace

RichEditContext::RichEditContext()
    : RichEditContext({{L"Msftedit.dll", L"RICHEDIT50W"},
                       {L"Riched20.dll", L"RichEdit20W"},
                       {L"Riched32.dll", L"RICHEDIT"}}) {}

RichEditContext::RichEditContext(std::initializer_list<RichEditLibrary> candidates) {
  for (const RichEditLibrary& candidate : candidates) {
    library = LoadLibraryW(candidate.file);
    if (!library) continue;
    className = candidate.className;
    return;
  }
}

RichEditContext::~RichEditContext() {
  if (library) FreeLibrary(library);
}

// The control goes before the library whose window class it is: the base destructor would be too late.
ERHTML2RTF::~ERHTML2RTF() {
  if (Window() && !IsAttached()) DestroyWindow(Window());
}

bool ERHTML2RTF::Create(HWND parent, int id) {
  return CreateAt(parent, id, 0, 0, 200, 100);
}

bool ERHTML2RTF::CreateAt(HWND parent, int id, int x, int y, int width, int height) {
  if (context_.className.empty()) return false;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | ES_SUNKEN;
  return CreateControl(context_.className.c_str(), style, 0, parent, id, x, y, width, height);
}

void ERHTML2RTF::SetText(const WString& html) {
  if (!Window()) return;
  WString rtf;
  RtfReader reader{HtmlToRtf(html, rtf, context_.keepLinkTags), 0};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&reader), 0, ReadRtf};
  Send(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

void ERHTML2RTF::SetText(const WChar* html) {
  SetText(html ? WString(html) : WString());
}

}  // namespace DAVavador
