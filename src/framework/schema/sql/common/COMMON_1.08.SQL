/******************************************************************************
 * COMMON.SQL 1.08
 * CLIENTE: data e autor da desativação.
 * USUARIO_LOG: índice para o histórico de um registro.
 ******************************************************************************/

set TERM ^ ;

alter table CLIENTE add DESATIVACAO_DATA date^
alter table CLIENTE add DESATIVACAO_PORID integer^
commit^

alter table CLIENTE add constraint FK_CLIENTE_USUARIO
    foreign key (DESATIVACAO_PORID) references USUARIO (ID) on update cascade^
commit^

create index IXC_USUARIO_LOG_01 on USUARIO_LOG (FORMNAME, TABLEID, DATA, HORA)^
commit^

update VERSAO set NUMERO = '1.08' where ID = 1^

set TERM ; ^

commit work;
