#include "gui/pages/AddressRowsFrame.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

#include "gui/common/ControlFont.h"
#include "gui/common/QtText.h"

using hz::pages::AddressPage;

AddressRowsFrame::AddressRowsFrame(AddressPage& page, QGroupBox* box, QLabel* header)
    : PageFrame(page, box), m_page(page), m_header(header), m_rowFont(rowControlFont())
{
    setHome(box);
    hide();
    // A caption label is as wide as Qt sizes it for its text in the row font. The label that
    // measures belongs to no window; the page keeps it as long as it measures.
    auto probe = std::make_shared<QLabel>();
    probe->setFont(m_rowFont);
    page.TextWidth = [probe](const std::string& text) {
        probe->setText(hz::gui::fromStd(text));
        return probe->sizeHint().width();
    };
}

AddressRowControls AddressRowsFrame::row(int k)
{
    return {static_cast<QLabel*>(widget(AddressPage::captionName(k))),
            static_cast<QLineEdit*>(widget(AddressPage::addressName(k))),
            static_cast<QLineEdit*>(widget(AddressPage::functionName(k))),
            static_cast<QPushButton*>(widget(AddressPage::rgName(k)))};
}

const AddressRowControls* AddressRowsFrame::begin()
{
    for (int k = 0; k < kRows; ++k)
        m_all[static_cast<std::size_t>(k)] = row(k);
    return m_all.data();
}

void AddressRowsFrame::styleWidget(const hz::pages::Control&, QWidget* w)
{
    // The rows do not take the group box's font, and "R/G" keeps it even where it is tight.
    if (w->font() != m_rowFont)
        w->setFont(m_rowFont);
}

void AddressRowsFrame::beforeRefresh() { m_header->setVisible(m_page.headerShown()); }
