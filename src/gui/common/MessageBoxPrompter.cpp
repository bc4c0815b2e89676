#include "gui/common/MessageBoxPrompter.h"

#include "gui/common/QtText.h"

namespace hz::gui {

QString messageText(const std::string& text)
{
    QString s = fromStd(text);
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QString hintText(const char* text) { return messageText(text); }

QMessageBox::Icon iconFor(MsgKind kind)
{
    switch (kind) {
    case MsgKind::Warning: return QMessageBox::Warning;
    case MsgKind::Error: return QMessageBox::Critical;
    case MsgKind::Plain: return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsFor(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return QMessageBox::Ok;
    case Buttons::Cancel: return QMessageBox::Cancel;
    case Buttons::Ignore: return QMessageBox::Ignore;
    case Buttons::CancelIgnore: return QMessageBox::Cancel | QMessageBox::Ignore;
    case Buttons::YesIgnore: return QMessageBox::Yes | QMessageBox::Ignore;
    case Buttons::YesNo:
    case Buttons::YesNoDefaultNo: return QMessageBox::Yes | QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton escapeButtonFor(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return QMessageBox::Ok;
    case Buttons::Cancel:
    case Buttons::CancelIgnore: return QMessageBox::Cancel;
    case Buttons::Ignore:
    case Buttons::YesIgnore: return QMessageBox::Ignore;
    case Buttons::YesNo:
    case Buttons::YesNoDefaultNo: return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

Answer answerFor(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Ignore: return Answer::Ignore;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Ok;
    }
}

Answer MessageBoxPrompter::ask(MsgKind kind, const std::string& text, Buttons buttons)
{
    if (beforeAsking)
        beforeAsking();
    if (m_delegate)
        return m_delegate->ask(kind, text, buttons);
    QMessageBox box(iconFor(kind), QStringLiteral("HEX Zwirbel"), messageText(text), buttonsFor(buttons),
                    m_parent.data());
    // Plain text: captions such as "<Weiche 1>" in the address messages must not be taken
    // for markup.
    box.setTextFormat(Qt::PlainText);
    box.setEscapeButton(escapeButtonFor(buttons));
    if (buttons == Buttons::YesNoDefaultNo)
        box.setDefaultButton(QMessageBox::No);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (!clicked)
        return answerFor(escapeButtonFor(buttons));
    return answerFor(box.standardButton(clicked));
}

} // namespace hz::gui
