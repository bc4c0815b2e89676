#pragma once

#include <QPixmap>

namespace hz::gui {

// The picture of the home page link: a twirl and the program's name.
QPixmap makeLinkPicture(int width, int height);

} // namespace hz::gui
