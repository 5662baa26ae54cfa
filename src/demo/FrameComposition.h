#pragma once

// The display callback: one whole frame.
void onDisplay();
