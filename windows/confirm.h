#pragma once

#include <QString>

namespace windows {

// The toolkit's message box with Yes and No, Yes the default, no icon, modal to
// the whole application and owned by no window. True only for Yes.
bool confirm(const QString &text, const QString &title);

} // namespace windows
