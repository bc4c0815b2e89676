#include "gui/inspect/InfoDialog.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

#include <algorithm>

#include <exception>

#include "gui/common/MessageBoxPrompter.h"
#include "gui/common/QtText.h"

using hz::gui::fromPath;
using hz::gui::fromStd;
using hz::gui::hintText;
using hz::gui::toPath;

namespace {

// The geometry of the dialog as it was designed.
constexpr int kMargin = 8;
constexpr int kEditLeft = 96;
constexpr int kEditWidth = 60;
constexpr int kEditStep = 64;
constexpr int kEditHeight = 21;
constexpr int kConfigTop = 8;
constexpr int kIdTop = 34;
constexpr int kListLabelTop = 64;
constexpr int kMemoTop = 82;
constexpr int kMemoWidth = 475;
constexpr int kRightLeft = kMargin + kMemoWidth + 12;

QString joinLines(const std::vector<std::string>& lines)
{
    QStringList l;
    l.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& s : lines)
        l << fromStd(s);
    return l.join(QLatin1Char('\n'));
}

} // namespace

namespace hz::gui {

bool hasEvenAdvance(const QFont& font)
{
    const QFontMetrics m(font);
    const QString used = QStringLiteral("0123456789ABCDEFx.:$ ");
    const int advance = m.horizontalAdvance(used.at(0));
    for (const QChar c : used)
        if (m.horizontalAdvance(c) != advance)
            return false;
    return advance > 0;
}

QFont listingFont()
{
    // The listings line up in columns only where every digit, letter and separator is equally
    // wide. Whether the font database calls a font "fixed pitch" says little (fontconfig calls
    // Noto Sans Mono proportional), so the widths themselves decide: the system's fixed font
    // first, then the usual monospaced families.
    QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (hasEvenAdvance(system))
        return system;
    for (const char* family : {"DejaVu Sans Mono", "Noto Sans Mono", "Liberation Mono", "Source Code Pro",
                               "Ubuntu Mono", "Courier New", "Courier", "Monospace"}) {
        QFont f(QString::fromLatin1(family));
        f.setStyleHint(QFont::TypeWriter);
        f.setPointSize(system.pointSize() > 0 ? system.pointSize() : 9);
        if (hasEvenAdvance(f))
            return f;
    }
    return system;
}

QPoint onScreen(const QRect& placed, const QRect& screen)
{
    if (screen.isEmpty())
        return placed.topLeft();
    // The left and top edges come onto the screen, so that the title bar and the start of every
    // line can be reached; the dialog stays centred on its window otherwise.
    return {std::max(placed.x(), screen.left()), std::max(placed.y(), screen.top())};
}

} // namespace hz::gui

InfoDialog::InfoDialog(const hz::FirmwareImage& image, hz::Prompter& prompter, hz::gui::FileDialogs& dialogs,
                       QWidget* owner)
    : QDialog(owner), m_image(image), m_prompter(prompter), m_dialogs(dialogs), m_info(image)
{
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral("HEX File Information"));
    setFixedSize(kClientWidth, kClientHeight);
    createControls();
    showInfo();
    if (owner) {
        QRect placed(0, 0, kClientWidth, kClientHeight);
        placed.moveCenter(owner->frameGeometry().center());
        move(hz::gui::onScreen(placed, owner->screen() ? owner->screen()->availableGeometry() : QRect()));
    }
}

void InfoDialog::createControls()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    // Panel 0 names file 1; panel 1, file 2, keeps its 50 pixels at least and takes the rest,
    // so that the second file's name can be read.
    for (int i = 0; i < 2; ++i) {
        auto* l = new QLabel(StatusBar1);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        if (i == 0) {
            l->setFixedWidth(400);
            StatusBar1->addWidget(l);
        } else {
            l->setMinimumWidth(50);
            l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            StatusBar1->addWidget(l, 1);
        }
        StatusPanels[static_cast<std::size_t>(i)] = l;
    }
    const int statusHeight = StatusBar1->sizeHint().height();
    StatusBar1->setGeometry(0, kClientHeight - statusHeight, kClientWidth, statusHeight);

    Info = new QFrame(this);
    Info->setObjectName(QStringLiteral("Info"));
    Info->setFrameShape(QFrame::Panel);
    Info->setFrameShadow(QFrame::Sunken);
    const int infoHeight = kClientHeight - statusHeight;
    Info->setGeometry(0, 0, kClientWidth, infoHeight);

    auto label = [this](const char* name, const char* caption, int left, int top) {
        auto* l = new QLabel(QString::fromUtf8(caption), Info);
        l->setObjectName(QString::fromLatin1(name));
        l->move(left, top);
        l->adjustSize();
        return l;
    };
    auto edits = [this](const char* prefix, int top) {
        std::array<QLineEdit*, 4> e{};
        for (int k = 0; k < 4; ++k) {
            auto* edit = new QLineEdit(Info);
            edit->setObjectName(QString::fromLatin1(prefix) + QString::number(k + 1));
            edit->setGeometry(kEditLeft + k * kEditStep, top, kEditWidth, kEditHeight);
            // The words are shown, not edited: the edits stay disabled, but with the colours of
            // an enabled one - the disabled grey on grey could hardly be read.
            edit->setReadOnly(true);
            edit->setEnabled(false);
            QPalette readable = edit->palette();
            for (const QPalette::ColorRole role : {QPalette::Text, QPalette::Base})
                readable.setColor(QPalette::Disabled, role, readable.color(QPalette::Active, role));
            edit->setPalette(readable);
            e[static_cast<std::size_t>(k)] = edit;
        }
        return e;
    };
    Label3 = label("Label3", "Config Value:", kMargin, kConfigTop + 3);
    edt_config = edits("edt_config_", kConfigTop);
    lbl_ID = label("lbl_ID", "ID-Value:", kMargin, kIdTop + 3);
    edt_ID = edits("edt_ID_", kIdTop);

    auto button = [this](const char* name, const char* caption, const char* hint) {
        auto* b = new QPushButton(QString::fromUtf8(caption), Info);
        b->setObjectName(QString::fromLatin1(name));
        if (hint)
            b->setToolTip(hintText(hint));
        b->setAutoDefault(false);
        return b;
    };
    btn_compare =
        button("btn_compare", "vergleiche mit 2. HEX-File", "das geladenen HEX wird mit einer 2. Datei verglichen");
    btn_compare->setGeometry(kRightLeft, kConfigTop, 200, 25);
    btn_close = button("btn_close", "Fenster schliessen", nullptr);
    btn_close->setGeometry(kClientWidth - kMargin - 150, kConfigTop, 150, 25);

    const QFont fixed = hz::gui::listingFont();
    auto memo = [&](const char* name, const char* hint, int left) {
        auto* m = new QPlainTextEdit(Info);
        m->setObjectName(QString::fromLatin1(name));
        m->setReadOnly(true);
        m->setLineWrapMode(QPlainTextEdit::NoWrap);
        m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m->setFont(fixed);
        m->setToolTip(hintText(hint));
        m->setGeometry(left, kMemoTop, kMemoWidth, infoHeight - kMemoTop - kMargin);
        return m;
    };
    Label4 = label("Label4", "EEprom", kMargin, kListLabelTop);
    Memo1a = memo("Memo1a", "Anzeige der EEprom Daten\r\nFür den Normal-Bediener uninteressant!", kMargin);
    Label2 = label("Label2", "ROM", kRightLeft, kListLabelTop);
    lbl_anzahl = label("lbl_anzahl", "", kRightLeft + 60, kListLabelTop);
    Memo3a = memo("Memo3a", "Anzeige der Register\r\nFür den Normal-Bediener uninteressant!", kRightLeft);

    connect(btn_compare, &QPushButton::clicked, this, [this] { btn_compareClick(); });
    connect(btn_close, &QPushButton::clicked, this, [this] { btn_closeClick(); });
}

void InfoDialog::showInfo()
{
    for (std::size_t k = 0; k < 4; ++k) {
        edt_config[k]->setText(fromStd(m_info.config[k]));
        edt_ID[k]->setText(fromStd(m_info.id[k]));
    }
    lbl_anzahl->setText(fromStd(m_info.romCount));
    lbl_anzahl->adjustSize();
    Memo1a->setPlainText(joinLines(m_info.memo1));
    Memo3a->setPlainText(joinLines(m_info.memo3));
    for (std::size_t i = 0; i < 2; ++i)
        StatusPanels[i]->setText(fromStd(m_info.status[i]));
}

void InfoDialog::btn_compareClick()
{
    // The dialog starts in the folder of the loaded file, where its siblings usually are.
    const QString chosen = m_dialogs.openFile(this, hz::gui::folderOf(fromPath(m_image.LastFileName)),
                                              QString::fromLatin1(hz::gui::kHexFileFilter), QStringLiteral("hex"));
    if (chosen.isEmpty())
        return;
    try {
        m_info.compareWith(toPath(chosen), m_prompter);
    } catch (const std::exception& e) {
        // As everywhere in the program: say what went wrong and go on with the dialog.
        m_prompter.tell(hz::MsgKind::Error, e.what(), hz::Buttons::Ok);
    }
    showInfo();
}

void InfoDialog::btn_closeClick() { accept(); }
