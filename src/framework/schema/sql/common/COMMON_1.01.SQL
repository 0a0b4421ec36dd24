/******************************************************************************
 * COMMON.SQL 1.01
 * CLIENTE: indicação de optante pelo Simples.
 ******************************************************************************/

set TERM ^ ;

alter table CLIENTE add SIMPLES varchar(1)^
commit^

update VERSAO set NUMERO = '1.01' where ID = 1^

set TERM ; ^

commit work;
