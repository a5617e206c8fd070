// Mnemonics by key, on any keyboard layout: Alt plus the key that carries a
// mnemonic letter on the standard layout of the letter's script opens what
// the letter marks, whatever layout is active. With a Russian layout, Alt
// and the key of the Latin H opens "&Heeeelp"; with a US layout, Alt+V, the
// key of the Cyrillic М, opens "&Меню". A letter typed as such works as before.
#pragma once

#include <QObject>
#include <QWidget>
#include <memory>

class KeyLetters;

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
    // The letters of the keys on a Latin and on a Cyrillic layout, made at
    // the first key they are asked about.
    std::unique_ptr<KeyLetters> latin_;
    std::unique_ptr<KeyLetters> cyrillic_;
};
