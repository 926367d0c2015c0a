#include "qt/task_bar.h"

namespace velmo {

// A Qt::Tool window is a WS_EX_TOOLWINDOW, which the task bar leaves out.
void ListOnTaskBar(QWidget&, bool) {}

}  // namespace velmo
