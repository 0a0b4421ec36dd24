#include "zelspockedit.h"

TZelSpockEdit::TZelSpockEdit(QWidget *parent) : TZelSpockCustom(parent) {}
