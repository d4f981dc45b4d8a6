#pragma once

#include "cautosizelabel.h"

// The updater's name for the launcher's self-sizing message area; same behaviour.
class AutoSizeLabel : public CAutoSizeLabel
{
    Q_OBJECT
public:
    using CAutoSizeLabel::CAutoSizeLabel;
};
