#pragma once

#include "framework/validation/evalobj.h"
#include "framework/validation/zelerrors.h"

#include <QString>

/// The checks a note of CONTROLE must pass before the note entry window saves it.
class TEvalLancNotas : public TEvalObj
{
public:
    /// The code of every finding of these rules.
    static constexpr int Code = 10007001;
    /// The form the findings lead back to.
    static QString FormClass() { return QStringLiteral("TfrmLancaNotas"); }

    TEvalLancNotas();

private:
    void LeilaoData(const TEvalInfo &info, TZelErrors &errors);
    void LeilaoNumero(const TEvalInfo &info, TZelErrors &errors);
    void TipoPessoa(const TEvalInfo &info, TZelErrors &errors);
    void Documento(const TEvalInfo &info, TZelErrors &errors);
    void Nome(const TEvalInfo &info, TZelErrors &errors);
    void NotaNumero(const TEvalInfo &info, TZelErrors &errors);
    void Mercadoria(const TEvalInfo &info, TZelErrors &errors);
    void PerComissao(const TEvalInfo &info, TZelErrors &errors);
    void Comissao(const TEvalInfo &info, TZelErrors &errors);
    void Total(const TEvalInfo &info, TZelErrors &errors);
};
