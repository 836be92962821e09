// The station's dark look: black windows, light text, large touch-friendly controls.
#pragma once

// Applies the style to the whole application; reports a failure and keeps the default look.
void WendeDunklenStilAn();
