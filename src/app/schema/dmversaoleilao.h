#pragma once

#include "framework/schema/version/clscustomversion.h"

/// The application's version module: the framework's scripts followed by LEILAO.SQL 1.00 and 1.01.
class TdmVersaoLeilao : public TClsCustomVersion
{
    Q_OBJECT
public:
    explicit TdmVersaoLeilao(QObject *parent = nullptr);
};
