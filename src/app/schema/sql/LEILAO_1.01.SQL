/******************************************************************************
 * LEILAO.SQL 1.01
 * CONTROLE: o número do leilão passa de 4 para 8 caracteres.
 ******************************************************************************/

alter table CONTROLE add LEILAO_NUMERO_BKP varchar(8);

update CONTROLE set LEILAO_NUMERO_BKP = LEILAO_NUMERO;

/* a cópia fica gravada antes que a coluna antiga desapareça */
commit;

alter table CONTROLE drop LEILAO_NUMERO;

alter table CONTROLE alter column LEILAO_NUMERO_BKP to LEILAO_NUMERO;

update VERSAO set NUMERO = '1.01' where ID = 2;

commit;
