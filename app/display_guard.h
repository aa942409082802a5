#pragma once

namespace quorvane {

// Qt aborts, leaving a core dump, when no display can be opened. Until
// DisarmDisplayGuard() is called, such a fatal start-up error instead prints
// one line naming the display that was tried and exits with status 1.
void ArmDisplayGuard();
void DisarmDisplayGuard();

} // namespace quorvane
