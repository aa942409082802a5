#pragma once

namespace quorvane {

// Qt aborts, leaving a core dump, when its platform cannot start. From
// ArmStartupGuard() until DisarmStartupGuard(), such a fatal error instead
// prints one line with its cause and the program's name in front, and the
// program exits with status 1. Qt's other start-up messages are held back
// meanwhile, and printed once the start has succeeded.
void ArmStartupGuard();
void DisarmStartupGuard();

} // namespace quorvane
