#pragma once
// File dialogs for GUI tests: each call records the proposed name and answers with the next
// queued file name (an empty name stands for Cancel; an empty queue cancels too).

#include <QString>
#include <QStringList>

#include "app/FileDialogs.h"

namespace hz::test {

class ScriptedFileDialogs : public hz::gui::FileDialogs {
public:
    QString openHexFile(QWidget*, const QString& proposed) override
    {
        openProposed.append(proposed);
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QString saveHexFile(QWidget*, const QString& proposed) override
    {
        saveProposed.append(proposed);
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }

    QStringList openAnswers, saveAnswers;
    QStringList openProposed, saveProposed;
};

} // namespace hz::test
