/******************************************************************************
 * COMMON.SQL 1.04
 * CONTA_CORRENTE: código do cedente e carteira de cobrança.
 * FORNECEDOR: código do fornecedor.
 ******************************************************************************/

set TERM ^ ;

alter table CONTA_CORRENTE add CODIGO_CEDENTE varchar(15)^
alter table CONTA_CORRENTE add CARTEIRA varchar(5)^
commit^

/* até aqui o cedente era identificado pelo número da conta */
update CONTA_CORRENTE set CODIGO_CEDENTE = NUM_CONTA^

alter table FORNECEDOR add CODIGO varchar(8)^
commit^

create index IXC_FORNECEDOR_CODIGO on FORNECEDOR (CODIGO)^
commit^

update VERSAO set NUMERO = '1.04' where ID = 1^

set TERM ; ^

commit work;
