/******************************************************************************
 * COMMON.SQL 1.06
 * CLIENTE: endereço postal (de correspondência).
 ******************************************************************************/

set TERM ^ ;

alter table CLIENTE add PST_ENDERECO varchar(40)^
alter table CLIENTE add PST_NUMERO varchar(10)^
alter table CLIENTE add PST_COMPLEMENTO varchar(30)^
alter table CLIENTE add PST_BAIRRO varchar(40)^
alter table CLIENTE add PST_CIDADE varchar(40)^
alter table CLIENTE add PST_UF varchar(2)^
alter table CLIENTE add PST_CEP varchar(9)^
commit^

update VERSAO set NUMERO = '1.06' where ID = 1^

set TERM ; ^

commit work;
