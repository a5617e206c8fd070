// The page's side of the game session: a SessionView that hands every drawing
// and every question about the list to the page's script, and the entry
// points the page calls for start-up and the player's input.
#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include "session.h"

namespace {

// Strings cross as UTF-16 in the module's memory, ended by a zero.
EM_JS(void, JsAddListEntry, (const char16_t* name),
      { Module.view.addListEntry(UTF16ToString(name)); });
EM_JS(void, JsSelectListEntry, (int entry), { Module.view.selectListEntry(entry); });
EM_JS(int, JsListEntryCount, (), { return Module.view.listEntryCount(); });
EM_JS(int, JsIsListEntrySelected, (int entry), { return Module.view.isListEntrySelected(entry); });
EM_JS(void, JsSetTitle, (const char16_t* title), { Module.view.setTitle(UTF16ToString(title)); });
EM_JS(void, JsSetButtonCaption, (const char16_t* caption),
      { Module.view.setButtonCaption(UTF16ToString(caption)); });
EM_JS(void, JsDrawCell, (int cell, int set, int piece, int framed),
      { Module.view.drawCell(cell, set, piece, framed); });
EM_JS(void, JsDrawPreview, (int set), { Module.view.drawPreview(set); });

class PageView final : public tarpo::SessionView {
  public:
    void AddListEntry(const char16_t* name) override { JsAddListEntry(name); }
    void SelectListEntry(int entry) override { JsSelectListEntry(entry); }
    int ListEntryCount() const override { return JsListEntryCount(); }
    bool IsListEntrySelected(int entry) const override { return JsIsListEntrySelected(entry) != 0; }
    void SetTitle(const char16_t* title) override { JsSetTitle(title); }
    void SetButtonCaption(const char16_t* caption) override { JsSetButtonCaption(caption); }
    void DrawCell(tarpo::Int16 cell, const tarpo::CellLook& look) override {
        constexpr int kNothing = -1;
        JsDrawCell(cell, look.picture ? look.picture->set : kNothing,
                   look.picture ? look.picture->piece : kNothing, look.framed ? 1 : 0);
    }
    void DrawPreview(std::optional<tarpo::Int16> set) override { JsDrawPreview(set ? *set : -1); }
};

PageView view;
tarpo::Session* session = nullptr;

}  // namespace

extern "C" {

// Once the page's controls exist and the pictures are loaded.
EMSCRIPTEN_KEEPALIVE void Start() {
    if (session != nullptr) return;
    session = new tarpo::Session(view);
    session->Initialize();
    session->Load();
}

EMSCRIPTEN_KEEPALIVE void NewGame() {
    if (session != nullptr) session->NewGame();
}

EMSCRIPTEN_KEEPALIVE void Click(int cell) {
    if (session != nullptr) session->Click(static_cast<tarpo::Int16>(cell));
}

}  // extern "C"
