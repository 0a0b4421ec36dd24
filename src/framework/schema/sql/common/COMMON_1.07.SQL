/******************************************************************************
 * COMMON.SQL 1.07
 * CONTA_CORRENTE: dados de outro titular da conta.
 * USUARIO_MODULO: acesso a todas as rotinas do módulo.
 * ROTINA e USUARIO_ROTINA: permissões por rotina.
 ******************************************************************************/

set TERM ^ ;

alter table CONTA_CORRENTE add USA_OUTRO_TITULAR char(1)^
alter table CONTA_CORRENTE add TITULAR_NOME varchar(50)^
alter table CONTA_CORRENTE add TITULAR_CNPJ varchar(20)^
alter table CONTA_CORRENTE add TITULAR_CCM varchar(20)^
alter table CONTA_CORRENTE add TITULAR_ENDERECO varchar(40)^
alter table CONTA_CORRENTE add TITULAR_NUMERO varchar(10)^
alter table CONTA_CORRENTE add TITULAR_COMPLEMENTO varchar(30)^
alter table CONTA_CORRENTE add TITULAR_BAIRRO varchar(40)^
alter table CONTA_CORRENTE add TITULAR_CIDADE varchar(40)^
alter table CONTA_CORRENTE add TITULAR_UF varchar(2)^
alter table CONTA_CORRENTE add TITULAR_CEP varchar(9)^
alter table CONTA_CORRENTE add TITULAR_DDD varchar(3)^
alter table CONTA_CORRENTE add TITULAR_TEL varchar(10)^
alter table CONTA_CORRENTE add TITULAR_FAXDDD varchar(3)^
alter table CONTA_CORRENTE add TITULAR_FAX varchar(10)^
alter table CONTA_CORRENTE add TITULAR_EMAIL varchar(255)^
alter table CONTA_CORRENTE add TITULAR_SITE varchar(255)^
alter table USUARIO_MODULO add TUDO char(1)^
commit^

create table ROTINA (
    ID integer not null,
    MODULOID integer,
    CTRL_INDEX integer,
    CTRL_INDEX_OWNER integer,
    NOME varchar(255),
    ATIVO integer,
    STATUS integer,
    constraint PK_ROTINA primary key (ID)
)^

create generator GEN_ROTINA_ID^
commit^

create trigger TG_ROTINA for ROTINA
active before insert position 0
as
begin
  if (new.ID is null) then
    new.ID = gen_id(GEN_ROTINA_ID, 1);
end^

create table USUARIO_ROTINA (
    ID integer not null,
    USUARIOID integer,
    ROTINAID integer,
    STATUS integer,
    constraint PK_USUARIO_ROTINA primary key (ID)
)^

create generator GEN_USUARIO_ROTINA_ID^
commit^

create trigger TG_USUARIO_ROTINA for USUARIO_ROTINA
active before insert position 0
as
begin
  if (new.ID is null) then
    new.ID = gen_id(GEN_USUARIO_ROTINA_ID, 1);
end^

update VERSAO set NUMERO = '1.07' where ID = 1^

set TERM ; ^

commit work;

/* quem já tinha o módulo continua com acesso a todas as suas rotinas */
update USUARIO_MODULO set TUDO = 'S';

commit;
