#pragma once
// The window's answer to the core's questions: a modal QMessageBox titled "HEX Zwirbel" with
// the icon of the message kind and exactly the buttons the core asks for.

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

#include "core/Prompter.h"

namespace hz::gui {

// "\r\n" and a lone "\r" become line breaks; the firmware editor's texts use all three forms.
QString messageText(const std::string& text);
// The same for tool tips, which arrive as UTF-8 literals with "\r\n".
QString hintText(const char* text);

QMessageBox::Icon iconFor(MsgKind kind);
QMessageBox::StandardButtons buttonsFor(Buttons buttons);
// The button Escape and the close box stand for; each set has one that never goes on.
QMessageBox::StandardButton escapeButtonFor(Buttons buttons);
Answer answerFor(QMessageBox::StandardButton button);

class MessageBoxPrompter : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    // Answers come from `other` instead of message boxes (tests, the screenshot mode); the
    // window keeps talking to this one prompter either way.
    void setDelegate(Prompter* other) { m_delegate = other; }
    Answer ask(MsgKind kind, const std::string& text, Buttons buttons) override;
    // Runs before every message and question, boxes and delegate alike: the window brings
    // what it shows up to date, so the user reads the message over the current state.
    std::function<void()> beforeAsking;

private:
    QPointer<QWidget> m_parent;
    Prompter* m_delegate = nullptr;
};

} // namespace hz::gui
