#pragma once

#include <QFont>

// The font of the controls that are built in rows (the address rows, the CV rows): a size
// smaller than the window's, so that a number fits into the 20-pixel fields of the fixed row
// geometry, and with every attribute set, so that the controls keep it whatever font their
// group box or frame is given.
QFont rowControlFont();
