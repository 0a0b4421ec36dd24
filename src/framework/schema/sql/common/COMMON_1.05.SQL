/******************************************************************************
 * COMMON.SQL 1.05
 * USUARIO: desativação. USUARIO_LOG: registro de atividades dos usuários.
 ******************************************************************************/

set TERM ^ ;

alter table USUARIO add DESATIVADO char(1)^
commit^

create table USUARIO_LOG (
    ID integer not null,
    USUARIOID integer,
    MODULOID integer,
    DATA date,
    HORA time,
    /* ID da linha afetada, nulo quando não há */
    TABLEID integer,
    FORMNAME varchar(128),
    TELA varchar(255),
    LOG varchar(255),
    constraint PK_USUARIO_LOG primary key (ID),
    constraint FK_USUARIO_LOG_USUARIO foreign key (USUARIOID) references USUARIO (ID)
        on update cascade on delete cascade
)^

create generator GEN_USUARIO_LOG_ID^
commit^

/* DATA e HORA são sempre as do servidor, mesmo quando informadas */
create trigger TG_USUARIO_LOG for USUARIO_LOG
active before insert position 0
as
declare variable DATA_ATUAL date;
declare variable HORA_ATUAL time;
begin
  if (new.ID is null) then
    new.ID = gen_id(GEN_USUARIO_LOG_ID, 1);
  select current_date, current_time from RDB$DATABASE
    into :DATA_ATUAL, :HORA_ATUAL;
  new.DATA = :DATA_ATUAL;
  new.HORA = :HORA_ATUAL;
end^

update VERSAO set NUMERO = '1.05' where ID = 1^

set TERM ; ^

commit work;
