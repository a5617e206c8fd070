#include "latin_mnemonics.h"

#include <xkbcommon/xkbcommon.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <memory>
#include <optional>

// The letter each key types on one standard layout, by the key's code as X11
// and Wayland report it (an XKB key code), whatever layout is active.
class KeyLetters {
  public:
    explicit KeyLetters(const char* layout)
        : context_(xkb_context_new(XKB_CONTEXT_NO_FLAGS), xkb_context_unref),
          keymap_(nullptr, xkb_keymap_unref) {
        if (context_ == nullptr) return;
        const xkb_rule_names names{nullptr, nullptr, layout, nullptr, nullptr};
        keymap_.reset(
            xkb_keymap_new_from_names(context_.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
    }

    // The small letter, or nothing for a key that types no letter.
    std::optional<QChar> LetterOf(quint32 keyCode) const {
        if (keymap_ == nullptr || keyCode == 0) return std::nullopt;
        const xkb_keysym_t* symbols = nullptr;
        const int count = xkb_keymap_key_get_syms_by_level(keymap_.get(), keyCode, /*layout=*/0,
                                                           /*level=*/0, &symbols);
        if (count != 1) return std::nullopt;
        const char32_t c = xkb_keysym_to_utf32(symbols[0]);
        if (c == 0 || c > 0xFFFF || !QChar(c).isLetter()) return std::nullopt;
        return QChar(c).toLower();
    }

  private:
    std::unique_ptr<xkb_context, void (*)(xkb_context*)> context_;
    std::unique_ptr<xkb_keymap, void (*)(xkb_keymap*)> keymap_;
};

namespace {

constexpr char kLatinLayout[] = "us";
constexpr char kCyrillicLayout[] = "ru";

// Whether one of `actions` has `letter` as its mnemonic, by Qt's own rule.
bool HasMnemonic(const QList<QAction*>& actions, QChar letter) {
    const int key = letter.toUpper().unicode();
    for (const QAction* action : actions) {
        const QKeySequence mnemonic = QKeySequence::mnemonic(action->text());
        if (action->isVisible() && action->isEnabled() && !mnemonic.isEmpty() &&
            mnemonic[0].key() == key)
            return true;
    }
    return false;
}

}  // namespace

LatinMnemonics::LatinMnemonics(QWidget* window) : QObject(window), window_(window) {
    qApp->installEventFilter(this);
}

LatinMnemonics::~LatinMnemonics() = default;

// Whether `widget` is the window, a widget in it, or one of its menus (whose
// parent chain leads to the window).
bool LatinMnemonics::Serves(const QWidget* widget) const {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (widget == window_) return true;
    }
    return false;
}

// A letter key that reaches a widget unmatched, with Alt or in a menu, whose
// typed letter is no mnemonic there, is sent again as the letter the same key
// types on the Latin or the Cyrillic layout, if that one is: Qt then matches
// it to the mnemonic of the menu bar or of the open menu.
bool LatinMnemonics::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool inMenu = qobject_cast<QMenu*>(widget) || qobject_cast<QMenuBar*>(widget);
    if (!(key->modifiers() & Qt::AltModifier) && !inMenu) return false;
    const QString text = key->text();
    if (text.size() != 1 || !text.at(0).isLetter() || !Serves(widget)) return false;
    const QMenuBar* bar = window_->findChild<QMenuBar*>();
    const QList<QAction*> actions =
        inMenu ? widget->actions() : (bar != nullptr ? bar->actions() : QList<QAction*>{});
    const QChar typed = text.at(0).toLower();
    if (HasMnemonic(actions, typed)) return false;

    if (latin_ == nullptr) latin_ = std::make_unique<KeyLetters>(kLatinLayout);
    if (cyrillic_ == nullptr) cyrillic_ = std::make_unique<KeyLetters>(kCyrillicLayout);
    for (const KeyLetters* layout : {latin_.get(), cyrillic_.get()}) {
        const std::optional<QChar> letter = layout->LetterOf(key->nativeScanCode());
        if (!letter || *letter == typed || !HasMnemonic(actions, *letter)) continue;
        QKeyEvent again(QEvent::KeyPress, letter->toUpper().unicode(), key->modifiers(),
                        QString(*letter), key->isAutoRepeat());
        QApplication::sendEvent(widget, &again);
        return true;
    }
    return false;
}
