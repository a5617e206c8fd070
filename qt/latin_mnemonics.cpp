#include "latin_mnemonics.h"

#include <xkbcommon/xkbcommon.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <memory>
#include <optional>

// The letter each key types on the US layout, looked up by the XKB key code
// that X11 and Wayland report whatever layout is active.
class LatinKeyboard {
  public:
    LatinKeyboard()
        : context_(xkb_context_new(XKB_CONTEXT_NO_FLAGS), xkb_context_unref),
          keymap_(nullptr, xkb_keymap_unref) {
        if (context_ == nullptr) return;
        const xkb_rule_names latin{nullptr, nullptr, kLayout, nullptr, nullptr};
        keymap_.reset(
            xkb_keymap_new_from_names(context_.get(), &latin, XKB_KEYMAP_COMPILE_NO_FLAGS));
    }

    std::optional<char16_t> LetterOf(quint32 keyCode) const {
        if (keymap_ == nullptr || keyCode == 0) return std::nullopt;
        const xkb_keysym_t* symbols = nullptr;
        const int count = xkb_keymap_key_get_syms_by_level(keymap_.get(), keyCode, /*layout=*/0,
                                                           /*level=*/0, &symbols);
        if (count != 1) return std::nullopt;
        const char32_t c = xkb_keysym_to_utf32(symbols[0]);
        if (c < U'a' || c > U'z') return std::nullopt;
        return static_cast<char16_t>(c);
    }

  private:
    static constexpr char kLayout[] = "us";
    std::unique_ptr<xkb_context, void (*)(xkb_context*)> context_;
    std::unique_ptr<xkb_keymap, void (*)(xkb_keymap*)> keymap_;
};

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

// When an Alt+key, or a key in an open menu, types a non-Latin letter that
// matches nothing, send it again as the Latin letter of the same key. Qt then
// matches it to a mnemonic of the menu bar or of the open menu.
bool LatinMnemonics::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool inMenu = qobject_cast<QMenu*>(widget) || qobject_cast<QMenuBar*>(widget);
    if (!(key->modifiers() & Qt::AltModifier) && !inMenu) return false;
    const QString text = key->text();
    if (text.size() != 1 || !text.at(0).isLetter() || text.at(0).script() == QChar::Script_Latin)
        return false;
    if (!Serves(widget)) return false;

    if (keyboard_ == nullptr) keyboard_ = std::make_unique<LatinKeyboard>();
    const std::optional<char16_t> letter = keyboard_->LetterOf(key->nativeScanCode());
    if (!letter) return false;
    const int latinKey = Qt::Key_A + (*letter - u'a');
    QKeyEvent latin(QEvent::KeyPress, latinKey, key->modifiers(), QString(QChar(*letter)),
                    key->isAutoRepeat());
    QApplication::sendEvent(widget, &latin);
    return true;
}
