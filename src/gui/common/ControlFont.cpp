#include "gui/common/ControlFont.h"

#include <QApplication>

QFont rowControlFont()
{
    QFont f = QApplication::font();
    f.setPointSize(8);
    f.setResolveMask(QFont::AllPropertiesResolved);
    return f;
}
