#pragma once

#include "framework/session/clssplash.h"

/// The program's start-up window: the framework's splash as it is.
class TfrmSplashLeilao : public TClsSplash
{
    Q_OBJECT
public:
    using TClsSplash::TClsSplash;
};
