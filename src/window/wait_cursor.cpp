#include "window/wait_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace zv {

int WaitCursor::s_depth = 0;

WaitCursor::WaitCursor() {
    if (s_depth++ == 0) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
}

WaitCursor::~WaitCursor() {
    if (--s_depth == 0) {
        QGuiApplication::restoreOverrideCursor();
    }
}

}  // namespace zv
