/******************************************************************************
 * COMMON.SQL 1.03
 * DADOS_EMPRESA: imagem do logotipo (conteúdo e extensão do arquivo).
 * USUARIO: endereço de e-mail.
 ******************************************************************************/

set TERM ^ ;

alter table DADOS_EMPRESA add BINARIO blob sub_type 0^
alter table DADOS_EMPRESA add BINARIO_EXT varchar(5)^
alter table USUARIO add EMAIL varchar(128)^
commit^

update VERSAO set NUMERO = '1.03' where ID = 1^

set TERM ; ^

commit work;
