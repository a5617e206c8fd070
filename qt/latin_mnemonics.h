// Lets Latin mnemonics work on any keyboard layout. With a layout that types
// another script (Cyrillic, Greek...), Alt plus the key of a Latin mnemonic
// letter opens what that letter marks, as on a Latin layout. Mnemonics in the
// layout's own script (Alt+М) keep working.
#pragma once

#include <QObject>
#include <QWidget>
#include <memory>

class LatinKeyboard;

class LatinMnemonics : public QObject {
  public:
    // Serves `window`, its menu bar and its drop-down menus. `window` owns it.
    explicit LatinMnemonics(QWidget* window);
    ~LatinMnemonics() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool Serves(const QWidget* widget) const;

    QWidget* window_;
    std::unique_ptr<LatinKeyboard> keyboard_;  // created at the first key
};
