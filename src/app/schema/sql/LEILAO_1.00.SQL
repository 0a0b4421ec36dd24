/******************************************************************************
 * LEILAO.SQL 1.00
 * Módulo 1 (Quintaris) e as notas dos leilões.
 ******************************************************************************/

set TERM ^ ;

insert into MODULO (ID, MODULO) values (1, 'QUINTARIS')^

create table CONTROLE (
    ID integer not null,
    LEILAO_DATA date,
    LEILAO_NUMERO varchar(4),
    /* 1 = pessoa física (CPF), 2 = pessoa jurídica (CNPJ) */
    CLI_TIPO_PESSOA integer,
    CLI_DOCUMENTO varchar(14),
    CLI_NOME varchar(50),
    NOTA_NUMERO integer,
    NOTA_MERCADORIA double precision,
    NOTA_PER_COMISSAO double precision,
    NOTA_COMISSAO double precision,
    NOTA_TAXA_ADMIN double precision,
    NOTA_TOTAL double precision,
    /* quem lançou a nota */
    USUARIOID integer,
    constraint PK_CONTROLE primary key (ID),
    constraint FK_CONTROLE_USUARIO foreign key (USUARIOID) references USUARIO (ID)
        on update cascade
)^

create generator GEN_CONTROLE_ID^
commit^

create trigger TG_CONTROLE for CONTROLE
active before insert position 0
as
begin
  if (new.ID is null) then
    new.ID = gen_id(GEN_CONTROLE_ID, 1);
end^

insert into VERSAO (ID, SCRIPT, NUMERO) values (2, 'LEILAO.SQL', '1.00')^

set TERM ; ^

commit work;
