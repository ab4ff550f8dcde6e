// Screen 1010, the new-customer registration form: an empty frame.
#pragma once

#include "vrelForm.h"

class TVrel1010 : public TVrelForm {
public:
    TVrel1010();
};
