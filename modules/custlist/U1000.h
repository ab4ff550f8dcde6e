// Screen 1000, the customer list: an empty frame with a status bar.
#pragma once

#include "vrelForm.h"

class TVrelStatusBar;

class TVrel1000 : public TVrelForm {
public:
    TVrel1000();

    TVrelStatusBar *StatusBar1;
};
