// The program's resources: the launcher dialog's template, its banner and
// the program's icon, registered with the Win32 layer at start.
#pragma once

void registerLauncherResources();
