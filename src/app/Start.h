// Application-wide preparation before the windows exist.
#pragma once

// Touch mode, message boxes, dark style and title, in this order.
void BereiteAnwendungVor();
