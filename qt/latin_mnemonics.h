// Mnemonics by the key's Latin letter: with a keyboard layout that types
// another script on the letter keys (Cyrillic, Greek…), Alt plus the key of a
// Latin mnemonic letter opens what that letter marks, as it does on a Latin
// layout. Mnemonics in the layout's own script (Alt+М) work as before.
#pragma once

#include <QObject>
#include <QWidget>
#include <memory>

class LatinKeyboard;

class LatinMnemonics : public QObject {
  public:
    // Serves `window`, its menu bar and its drop-down menus; owned by `window`.
    explicit LatinMnemonics(QWidget* window);
    ~LatinMnemonics() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool Serves(const QWidget* widget) const;

    QWidget* window_;
    std::unique_ptr<LatinKeyboard> keyboard_;  // made at the first key it is asked about
};
