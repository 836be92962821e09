// Shows the messages of the message seam as modal boxes on screen.
#pragma once

// Installs the on-screen handler; the program does this once at start.
void InstalliereMeldungsfenster();
