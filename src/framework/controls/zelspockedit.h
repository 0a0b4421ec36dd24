#pragma once

#include "zelspockcustom.h"

/// The text edit placed on forms: the Spock base with nothing held back.
class TZelSpockEdit : public TZelSpockCustom
{
    Q_OBJECT
public:
    explicit TZelSpockEdit(QWidget *parent = nullptr);
};
