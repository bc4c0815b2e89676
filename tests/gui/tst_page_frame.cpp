// The generic page frame: it makes a widget per control of a page model, named and placed as
// the control, copies the model's state into it, and forwards every kind of widget event to
// the model - the path every page of the window takes.

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

#include "ScriptedFileDialogs.h"
#include "core/pages/Page.h"
#include "gui/pages/PageFrame.h"
#include "gui/pages/PageImage.h"

namespace {

using hz::pages::Control;
using hz::pages::ControlKind;
using hz::pages::Rect;

// A page with one control of every kind a frame makes, recording what reached its handlers.
class ProbePage : public hz::pages::Page {
public:
    ProbePage()
    {
        auto make = [this](const char* name, ControlKind kind, Rect r) {
            Control c;
            c.name = name;
            c.kind = kind;
            c.geometry = r;
            return c;
        };
        Control caption = make("lbl_probe", ControlKind::Label, {5, 5, 80, 20});
        caption.caption = "Probe";
        caption.hint = "ein Hinweis";
        add(caption);
        add(make("edt_value", ControlKind::Edit, {5, 30, 40, 20}));
        Control check = make("cbx_flag", ControlKind::Check, {5, 55, 80, 20});
        check.caption = "Flag";
        add(check);
        for (const char* radio : {"rad_a", "rad_b"}) {
            Control r = make(radio, ControlKind::Radio, {5, radio[4] == 'a' ? 80 : 100, 80, 20});
            r.caption = radio;
            add(r);
        }
        Control bar = make("TrackBar_1", ControlKind::TrackBar, {5, 125, 100, 20});
        bar.max = 15;
        add(bar);
        Control list = make("cbx_list", ControlKind::List, {5, 150, 100, 20});
        list.items = {"eins", "zwei"};
        list.selected = 0;
        add(list);
        Control button = make("btn_go", ControlKind::Button, {5, 175, 80, 25});
        button.caption = "Los";
        add(button);
        Control file = make("btn_file", ControlKind::Button, {90, 175, 80, 25});
        file.caption = "Laden";
        file.fileDialog = hz::pages::FileDialogKind::Open;
        file.fileFilter = "Kurve|*.cur";
        file.fileSuffix = "cur";
        add(file);
        Control hidden = make("edt_hidden", ControlKind::Edit, {5, 205, 40, 20});
        hidden.visible = false;
        add(hidden);
        add(make("Image_probe", ControlKind::Image, {200, 5, 40, 20}));
        Control shown = make("edt_shown", ControlKind::Edit, {200, 30, 40, 20});
        shown.readOnly = true;
        add(shown);
        draw({});
        // Every control reports its events alike; the image its mouse, the file button its path.
        for (std::size_t i = 0; i < m_controls.size(); ++i)
            m_controls[i].on<&ProbePage::changed>(i);
        findMutable("Image_probe")->onMouse<&ProbePage::mouse>();
        findMutable("btn_file")->onFile<&ProbePage::fileChosen>();
    }
    const char* frameName() const override { return "TFrameProbe"; }
    const char* objectName() const override { return "FrameProbe1"; }
    void showFor(const hz::pages::PageContext&) override {}

    // The page writes its own controls, as a set-up does.
    void write(const std::string& name, const std::string& text)
    {
        Updating = true;
        setText(*findMutable(name), text);
        Updating = false;
    }

    QStringList events;

protected:
    // A pressed drag draws a red line from the press to the pointer, in a black frame.
    void draw(std::optional<std::pair<int, int>> to)
    {
        hz::pages::Canvas canvas(40, 20);
        canvas.Clear();
        canvas.brush = hz::pages::colours::Red;
        canvas.Rectangle(0, 0, 40, 20);
        if (to) {
            canvas.pen = hz::pages::colours::Green;
            canvas.MoveTo(m_from.first, m_from.second);
            canvas.LineTo(to->first, to->second);
        }
        setDrawing(*findMutable("Image_probe"), canvas.take());
    }
    void mouse(hz::pages::MouseAction a, int x, int y)
    {
        static const char* const names[] = {"press", "move", "release"};
        events << QString::fromStdString(std::string("Image_probe:") + names[static_cast<int>(a)] + " " +
                                         std::to_string(x) + "," + std::to_string(y));
        if (a == hz::pages::MouseAction::Press)
            m_from = {x, y}, m_down = true;
        else if (m_down)
            draw(std::pair{x, y});
        if (a == hz::pages::MouseAction::Release)
            m_down = false;
    }
    void changed(std::size_t index)
    {
        const Control& c = m_controls[index];
        switch (c.kind) {
        case ControlKind::Edit: events << QString::fromStdString(c.name + "=" + c.text); break;
        case ControlKind::Check: events << QString::fromStdString(c.name + (c.checked ? "=1" : "=0")); break;
        case ControlKind::TrackBar: events << QString::fromStdString(c.name + "=" + std::to_string(c.position)); break;
        case ControlKind::List: events << QString::fromStdString(c.name + "=#" + std::to_string(c.selected)); break;
        default: events << QString::fromStdString(c.name); break;
        }
    }
    void fileChosen(const std::string& path) { events << QString::fromStdString("btn_file=" + path); }

private:
    std::pair<int, int> m_from;
    bool m_down = false;
};

} // namespace

class TstPageFrame : public QObject {
    Q_OBJECT
private slots:
    void widgetsMirrorTheControls();
    void everyWidgetEventReachesTheModel();
    void imagesPaintTheDrawingAndReportTheMouseInImagePixels();
    void screenReadersHearTheTrueRoleAndTheCaption_data();
    void screenReadersHearTheTrueRoleAndTheCaption();
};

void TstPageFrame::widgetsMirrorTheControls()
{
    ProbePage page;
    PageFrame f(page, nullptr);
    f.refresh();
    QCOMPARE(f.objectName(), QStringLiteral("FrameProbe1"));
    auto* label = f.findChild<QLabel*>("lbl_probe");
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("Probe"));
    QCOMPARE(label->toolTip(), QString::fromUtf8("ein Hinweis"));
    QCOMPARE(label->geometry(), QRect(5, 5, 80, 20));
    QCOMPARE(f.findChild<QSlider*>("TrackBar_1")->maximum(), 15);
    QCOMPARE(f.findChild<QComboBox*>("cbx_list")->count(), 2);
    QVERIFY(f.findChild<QLineEdit*>("edt_shown")->isReadOnly());
    QVERIFY(!f.findChild<QLineEdit*>("edt_value")->isReadOnly());
    // a control that was never visible has no widget yet
    QVERIFY(!f.findChild<QLineEdit*>("edt_hidden"));
    // what the page writes itself shows, and is not taken as input
    page.write("edt_value", "42");
    f.refresh();
    QCOMPARE(f.findChild<QLineEdit*>("edt_value")->text(), QStringLiteral("42"));
    QVERIFY(page.events.isEmpty());
}

void TstPageFrame::everyWidgetEventReachesTheModel()
{
    ProbePage page;
    hz::test::ScriptedFileDialogs dialogs;
    PageFrame f(page, nullptr);
    f.setFileDialogs(&dialogs);
    f.refresh();
    f.findChild<QLineEdit*>("edt_value")->setText("7");
    f.findChild<QCheckBox*>("cbx_flag")->click();
    f.findChild<QRadioButton*>("rad_b")->click();
    f.findChild<QSlider*>("TrackBar_1")->setValue(12);
    f.findChild<QComboBox*>("cbx_list")->setCurrentIndex(1);
    f.findChild<QPushButton*>("btn_go")->click();
    dialogs.openAnswers << QStringLiteral("/tmp/kurve.cur");
    f.findChild<QPushButton*>("btn_file")->click();
    f.findChild<QPushButton*>("btn_file")->click(); // cancelled: no input
    QCOMPARE(page.events, (QStringList{"edt_value=7", "cbx_flag=1", "rad_b", "TrackBar_1=12", "cbx_list=#1", "btn_go",
                                       "btn_file=/tmp/kurve.cur"}));
    QCOMPARE(dialogs.filters, (QStringList{"Kurve|*.cur", "Kurve|*.cur"}));
    QCOMPARE(dialogs.suffixes, (QStringList{"cur", "cur"}));
    // the model's state went along, and a radio button's click unchecked its sibling
    QCOMPARE(page.find("edt_value")->text, std::string("7"));
    QVERIFY(page.find("cbx_flag")->checked);
    QVERIFY(page.find("rad_b")->checked && !page.find("rad_a")->checked);
    QCOMPARE(page.find("TrackBar_1")->position, 12);
    QCOMPARE(page.find("cbx_list")->selected, 1);
    // while the frame writes its own state, nothing is forwarded
    page.events.clear();
    f.Updating = true;
    f.findChild<QLineEdit*>("edt_value")->setText("8");
    f.Updating = false;
    QVERIFY(page.events.isEmpty());
}

void TstPageFrame::imagesPaintTheDrawingAndReportTheMouseInImagePixels()
{
    ProbePage page;
    PageFrame f(page, nullptr);
    f.refresh();
    auto* image = f.findChild<PageImage*>("Image_probe");
    QVERIFY(image);
    QCOMPARE(image->geometry(), QRect(200, 5, 40, 20));
    QCOMPARE(image->cursor().shape(), Qt::CrossCursor);
    QCOMPARE(image->image().pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(image->image().pixel(5, 5), qRgb(255, 0, 0));
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(2, 10));
    QTest::mouseMove(image, QPoint(12, 10));
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(12, 10));
    QCOMPARE(page.events,
             (QStringList{"Image_probe:press 2,10", "Image_probe:move 12,10", "Image_probe:release 12,10"}));
    // the line ends one pixel before the pointer, as on a window canvas
    QCOMPARE(image->image().pixel(2, 10), qRgb(0, 255, 0));
    QCOMPARE(image->image().pixel(11, 10), qRgb(0, 255, 0));
    QCOMPARE(image->image().pixel(12, 10), qRgb(255, 0, 0));
}

void TstPageFrame::screenReadersHearTheTrueRoleAndTheCaption_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("radio button") << "rad_a" << int(QAccessible::RadioButton) << "rad_a";
    QTest::newRow("check box") << "cbx_flag" << int(QAccessible::CheckBox) << "Flag";
    QTest::newRow("push button") << "btn_go" << int(QAccessible::Button) << "Los";
    QTest::newRow("label") << "lbl_probe" << int(QAccessible::StaticText) << "Probe";
    QTest::newRow("edit") << "edt_value" << int(QAccessible::EditableText) << "";
}

void TstPageFrame::screenReadersHearTheTrueRoleAndTheCaption()
{
    QFETCH(QString, name);
    QFETCH(int, role);
    QFETCH(QString, spoken);
    ProbePage page;
    PageFrame f(page, nullptr);
    f.refresh();
    QWidget* w = f.findChild<QWidget*>(name);
    QVERIFY(w);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    QVERIFY(a);
    QCOMPARE(int(a->role()), role);
    QCOMPARE(a->text(QAccessible::Name), spoken);
    if (role != QAccessible::RadioButton)
        return;
    // The radio buttons stay exclusive by the model alone: a click checks one and the model
    // unchecks the other, and checking one in code leaves the other as it is.
    auto* a1 = f.findChild<QRadioButton*>("rad_a");
    auto* b1 = f.findChild<QRadioButton*>("rad_b");
    a1->click();
    b1->click();
    QVERIFY(b1->isChecked() && !a1->isChecked());
    f.Updating = true;
    a1->setChecked(true);
    f.Updating = false;
    QVERIFY(a1->isChecked() && b1->isChecked());
}

QTEST_MAIN(TstPageFrame)
#include "tst_page_frame.moc"
