#pragma once

// What the program sets up once the application object exists, before any screen shows:
// dates and Qt's own texts in Traditional Chinese, the program font with its CJK stand-ins,
// the window icon and the desktop entry. The program, its screenshot tool and its start-up
// benchmark all start this way.
void prepareApplication();
