#include "forms.h"

#include "install/installform.h"
#include "mainform.h"
#include "splashform.h"

namespace spindeck::app {

Forms::Forms(ui::Services& services)
    : splash([this, &services] { return std::make_unique<SplashForm>(services, *this); }),
      main([this, &services] { return std::make_unique<MainForm>(services, *this); }),
      install([&services] { return std::make_unique<install::InstallForm>(services); }) {}

Forms::~Forms() = default;

} // namespace spindeck::app
