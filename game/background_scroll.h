// The playfield's background, scrolling down 10 pixels a battle frame.
#pragma once

// Draws three copies of the background one playfield height apart and
// moves them on, jumping back once the lowest copy has left the playfield.
void ScrollBackground();
