#pragma once
// A push button whose caption is an address: where the address is wider than the button, the
// button draws it shortened in the middle - both the start and the page's name stay readable -
// and its tool tip names the whole address below the button's own hint. text() and toolTip()
// keep the full address and the hint.

#include <QPushButton>

class ElidedButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

    // The caption as drawn: the text, shortened in the middle where the button is too narrow.
    QString shownText() const;
    // The tool tip as shown: the hint, and where the caption is shortened, the full text.
    QString shownToolTip() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    int textRoom() const;
};
