#pragma once
// Texts of page controls that must not be cut: the pages were laid out for a narrower screen
// font than most systems have, so a caption that would be cut where its page places it gets
// a smaller, then narrower font instead - never a cut text.

#include <QFont>
#include <QString>

#include <vector>

// What of a text has to fit: its advance (the pixels the font steps on, the measure of a text
// among others), or its ink (the pixels drawn: what must keep clear of a button's frame).
enum class FitMeasure { Advance, Ink };

// The font, made smaller (half points down to 7 pt) and then narrower (down to `minStretch`
// percent) only as far as the text - one or more lines, the widest decides - needs to fit
// `room` pixels.
QFont FittingFont(QFont font, const QString& text, int room, int minStretch = 85,
                  FitMeasure measure = FitMeasure::Advance);

// A text and the pixels it may take.
struct FitItem {
    QString text;
    int room = 0;
};

// One font for texts that stand side by side and should look alike (the captions of a list,
// the lists of a row): `font` where every text fits its room; else first narrower glyphs at the
// same size, down to `minStretch` percent - the size is what makes a short caption readable -
// and only then half a point smaller, narrowing again, down to 7 pt.
QFont SharedFittingFont(QFont font, const std::vector<FitItem>& items, int minStretch = 90);
