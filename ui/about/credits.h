// The credits shown in the About window.
#pragma once

#include <QString>

namespace quorvane {

// The 26 lines of credits, each ended by "\r\n" (the last one too).
QString CreditsText();

} // namespace quorvane
