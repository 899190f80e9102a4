#pragma once

#include <QColor>

class QComboBox;

// The main category pickers of the day and fixed-items screens are drawn by the program: the
// personal main category (personal income at position 3, personal spending at position 0) in
// blue, every other one in navy.
QColor mainCategoryColour(bool income, int position);

// Draws the picker's list in those colours, the selected row highlighted. Installed once, it
// holds for whatever the picker is filled with later.
void drawMainCategories(QComboBox *picker, bool income);

// Shows the chosen main category in its colour in the closed picker; call after each choice.
void showChosenMainCategory(QComboBox *picker, bool income);
