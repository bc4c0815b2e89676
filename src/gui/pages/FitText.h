#pragma once
// Texts of page controls that must not be cut: the pages were laid out for a narrower screen
// font than most systems have, so a caption that would be cut where its page places it gets
// a smaller, then narrower font instead - never a cut text.

#include <QFont>
#include <QString>

class QWidget;

// The font, made smaller (half points down to 7 pt) and then narrower (down to `minStretch`
// percent) only as far as the text - one or more lines, the widest decides - needs to fit
// `room` pixels.
QFont FittingFont(QFont font, const QString& text, int room, int minStretch = 85);

// Room for the text of a label, check box or radio button of the given width.
int TextRoom(const QWidget* w, int width);
