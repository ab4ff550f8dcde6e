// The framework's start-up and shut-down. Every process that uses the
// framework runs them once around its work; module libraries may run them too.
// Both are counted: only the first start-up and the last shut-down take effect.
#pragma once

// Makes the process-wide objects: the menu manager `MenuManager` (vrelMenu.h).
void VrelInitialize();
// Frees them again, in the reverse order.
void VrelFinalize();

// Start-up for the lifetime of the guard; `main` holds one.
class TVrelFramework {
public:
    TVrelFramework() { VrelInitialize(); }
    ~TVrelFramework() { VrelFinalize(); }
    TVrelFramework(const TVrelFramework &) = delete;
    TVrelFramework &operator=(const TVrelFramework &) = delete;
};
