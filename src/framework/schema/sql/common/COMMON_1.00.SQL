/******************************************************************************
 * COMMON.SQL 1.00
 * Esquema comum da família de programas: parâmetros, cadastros de clientes,
 * unidades, bancos, contas correntes, fornecedores e produtos, dados da
 * empresa, módulos, usuários e a tabela de versões.
 ******************************************************************************/

set TERM ^ ;

/* Parâmetros: chave e valor, por apelido, usuário, módulo, ano e mês */
create table PARAMETROS (
    ID integer not null,
    APELIDO varchar(8),
    ANO smallint,
    MES smallint,
    USUARIO varchar(10),
    MODULO varchar(20),
    PARAMETRO varchar(20),
    VALOR varchar(100),
    constraint PK_PARAMETROS primary key (ID)
)^

create generator GEN_PARAMETROS_ID^
commit^

create trigger TG_PARAMETROS for PARAMETROS
active before insert position 0
as
begin
  if (new.ID is null) then
    new.ID = gen_id(GEN_PARAMETROS_ID, 1);
end^

/* Um APELIDO vazio vale como nulo; os demais campos da chave comparam por
   igualdade simples, de modo que um argumento nulo nunca encontra a linha. */
create procedure SETPARAMS (
    APELIDO varchar(8),
    USUARIO varchar(10),
    MODULO varchar(20),
    PARAMETRO varchar(20),
    ANO smallint,
    MES smallint,
    VALOR varchar(100))
as
declare variable QUANTOS integer;
begin
  if (APELIDO = '') then
    APELIDO = null;
  select count(*) from PARAMETROS P
   where ((:APELIDO is null and P.APELIDO is null) or P.APELIDO = :APELIDO)
     and P.USUARIO = :USUARIO
     and P.MODULO = :MODULO
     and P.PARAMETRO = :PARAMETRO
     and P.ANO = :ANO
     and P.MES = :MES
    into :QUANTOS;
  if (QUANTOS = 0) then
    insert into PARAMETROS (APELIDO, USUARIO, MODULO, PARAMETRO, ANO, MES, VALOR)
    values (:APELIDO, :USUARIO, :MODULO, :PARAMETRO, :ANO, :MES, :VALOR);
  else
    update PARAMETROS P set P.VALOR = :VALOR
     where ((:APELIDO is null and P.APELIDO is null) or P.APELIDO = :APELIDO)
       and P.USUARIO = :USUARIO
       and P.MODULO = :MODULO
       and P.PARAMETRO = :PARAMETRO
       and P.ANO = :ANO
       and P.MES = :MES;
  suspend;
end^

/* Sempre devolve uma linha: VALOR nulo quando o parâmetro não existe */
create procedure GETPARAMS (
    APELIDO varchar(8),
    USUARIO varchar(10),
    MODULO varchar(20),
    PARAMETRO varchar(20),
    ANO smallint,
    MES smallint)
returns (
    VALOR varchar(100))
as
begin
  if (APELIDO = '') then
    APELIDO = null;
  VALOR = null;
  select P.VALOR from PARAMETROS P
   where ((:APELIDO is null and P.APELIDO is null) or P.APELIDO = :APELIDO)
     and P.USUARIO = :USUARIO
     and P.MODULO = :MODULO
     and P.PARAMETRO = :PARAMETRO
     and P.ANO = :ANO
     and P.MES = :MES
    into :VALOR;
  suspend;
end^

create table CLIENTE (
    ID integer not null,
    NOME varchar(50),
    FANTASIA varchar(50),
    DOCUMENTO varchar(20),
    /* 1 = pessoa física, 2 = pessoa jurídica */
    TIPOPESSOA smallint,
    INSCRICAO_ESTADUAL varchar(20),
    RESPONSAVEL varchar(50),
    RG varchar(20),
    CCM varchar(20),
    ENDERECO varchar(40),
    NUMERO varchar(10),
    COMPLEMENTO varchar(30),
    BAIRRO varchar(40),
    CIDADE varchar(40),
    UF varchar(2),
    CEP varchar(9),
    TELEFONEDDD smallint,
    TELEFONE varchar(10),
    FAXDDD smallint,
    FAX varchar(10),
    CELULARDDD smallint,
    CELULAR varchar(10),
    IMPRIMIR_NOTA_FISCAL char(1),
    EMAIL varchar(50),
    PAGINA varchar(50),
    constraint PK_CLIENTE primary key (ID)
)^

create generator GEN_CLIENTE_ID^
commit^

create trigger TG_CLIENTE for CLIENTE
active before insert position 0
as
begin
  if (new.ID is null) then
    new.ID = gen_id(GEN_CLIENTE_ID, 1);
end^

create table UNIDADE (
    ID integer not null,
    SIGLA varchar(2),
    TITULO varchar(15),
    constraint PK_UNIDADE primary key (ID)
)^

create generator GEN_UNIDADE_ID^
commit^

create trigger TG_UNIDADE for UNIDADE
active before insert position 0
as
begin
  if (new.ID is null) then
    new.ID = gen_id(GEN_UNIDADE_ID, 1);
end^

/* Uma única linha (ID 1), lida pelo cabeçalho dos relatórios */
create table DADOS_EMPRESA (
    ID integer not null,
    RAZAO_SOCIAL varchar(50),
    CNPJ varchar(20),
    ENDERECO varchar(40),
    NUMERO varchar(10),
    COMPLEMENTO varchar(30),
    BAIRRO varchar(40),
    CIDADE varchar(40),
    UF varchar(2),
    CEP varchar(9),
    DDD varchar(3),
    TELEFONE varchar(10),
    constraint PK_DADOS_EMPRESA primary key (ID)
)^
commit^

/* A chave do banco é o seu número, não o ID */
create table BANCO (
    ID integer not null,
    BANCO integer not null,
    NOME varchar(30),
    constraint PK_BANCO primary key (BANCO)
)^

create generator GEN_BANCO_ID^
commit^

create trigger TG_BANCO for BANCO
active before insert position 0
as
begin
  if (new.ID is null) then
    new.ID = gen_id(GEN_BANCO_ID, 1);
end^

create table CONTA_CORRENTE (
    ID integer not null,
    BANCO integer not null,
    NUM_AGENCIA varchar(10) not null,
    NUM_CONTA varchar(15) not null,
    NOME_AGENCIA varchar(30),
    ENDERECO_AGENCIA varchar(40),
    NUMERO_AGENCIA varchar(10),
    COMPLEMENTO_AGENCIA varchar(30),
    BAIRRO_AGENCIA varchar(40),
    CIDADE_AGENCIA varchar(40),
    UF_AGENCIA varchar(2),
    CEP_AGENCIA varchar(9),
    GERENTE varchar(40),
    DDD integer,
    TELEFONE varchar(10),
    constraint PK_CONTA_CORRENTE primary key (BANCO, NUM_AGENCIA, NUM_CONTA),
    constraint FK_CONTA_CORRENTE_BANCO foreign key (BANCO) references BANCO (BANCO)
        on update cascade
)^

create generator GEN_CONTA_CORRENTE_ID^
commit^

create trigger TG_CONTA_CORRENTE for CONTA_CORRENTE
active before insert position 0
as
begin
  if (new.ID is null) then
    new.ID = gen_id(GEN_CONTA_CORRENTE_ID, 1);
end^

create table FORNECEDOR (
    ID integer not null,
    NOME varchar(50),
    CNPJ varchar(20),
    INSCRICAO_ESTADUAL varchar(20),
    /* 1 fornecedor, 2 fabricante, 3 fornecedor e fabricante */
    TIPO_FORNECEDOR smallint,
    RESPONSAVEL varchar(50),
    RG varchar(20),
    ENDERECO varchar(50),
    NUMERO varchar(10),
    COMPLEMENTO varchar(25),
    BAIRRO varchar(30),
    CIDADE varchar(30),
    ESTADO varchar(2),
    CEP varchar(10),
    TELEFONEDDD smallint,
    TELEFONE varchar(10),
    FAXDDD smallint,
    FAX varchar(10),
    CELULARDDD smallint,
    CELULAR varchar(10),
    EMAIL varchar(50),
    PAGINA varchar(50),
    constraint PK_FORNECEDOR primary key (ID)
)^

create generator GEN_FORNECEDOR_ID^
commit^

create trigger TG_FORNECEDOR for FORNECEDOR
active before insert position 0
as
begin
  if (new.ID is null) then
    new.ID = gen_id(GEN_FORNECEDOR_ID, 1);
end^

create table PRODUTO (
    ID integer not null,
    UNIDADEID integer,
    FABRICANTEID integer,
    DESCRICAO varchar(50),
    CUSTO double precision,
    VALOR double precision,
    ESTOQUE double precision,
    ESTOQUE_MINIMO double precision,
    /* 1 matéria-prima, 2 venda, 3 matéria-prima e venda, 4 produzido */
    TIPO_PRODUTO smallint,
    USA_MARG_LUCRO char(1),
    MARG_LUCRO double precision,
    PESO_LIQUIDO double precision,
    CLASSIFICACAO_FISCAL varchar(16),
    constraint PK_PRODUTO primary key (ID),
    constraint FK_PRODUTO_UNIDADE foreign key (UNIDADEID) references UNIDADE (ID)
        on update cascade,
    constraint FK_PRODUTO_FABRICANTE foreign key (FABRICANTEID) references FORNECEDOR (ID)
        on update cascade
)^

create generator GEN_PRODUTO_ID^
commit^

create trigger TG_PRODUTO for PRODUTO
active before insert position 0
as
begin
  if (new.ID is null) then
    new.ID = gen_id(GEN_PRODUTO_ID, 1);
end^

/* Os programas da família que compartilham este banco */
create table MODULO (
    ID integer not null,
    MODULO varchar(30),
    constraint PK_MODULO primary key (ID)
)^
commit^

insert into MODULO (ID, MODULO) values (3, 'USUÁRIOS')^

create table USUARIO (
    ID integer not null,
    USUARIO varchar(10),
    /* resumo da senha: 32 dígitos hexadecimais maiúsculos */
    SENHA varchar(32),
    PRIMEIRO_NOME varchar(20),
    ULTIMO_NOME varchar(20),
    OBSERVACAO varchar(255),
    SUPERVISOR char(1),
    SUPERVISORID integer,
    constraint PK_USUARIO primary key (ID)
)^
commit^

create unique index USUARIO_01 on USUARIO (USUARIO)^

create generator GEN_USUARIO_ID^
commit^

create trigger TG_USUARIO for USUARIO
active before insert position 0
as
begin
  if (new.ID is null) then
    new.ID = gen_id(GEN_USUARIO_ID, 1);
end^

/* Os módulos que cada usuário pode usar */
create table USUARIO_MODULO (
    USUARIOID integer not null,
    MODULOID integer not null,
    constraint PK_USUARIO_MODULO primary key (USUARIOID, MODULOID)
)^
commit^

insert into USUARIO (ID, USUARIO, SENHA, PRIMEIRO_NOME, ULTIMO_NOME, SUPERVISOR, SUPERVISORID)
values (1, 'ADMIN', null, 'Administrador', 'Sistema', 'T', 1)^

insert into USUARIO_MODULO (USUARIOID, MODULOID) values (1, 3)^

/* o próximo usuário recebe o ID 2 */
set generator GEN_USUARIO_ID to 1^

/* Uma linha por família de scripts com o número da última versão aplicada */
create table VERSAO (
    ID integer not null,
    SCRIPT varchar(30),
    NUMERO varchar(10),
    constraint PK_VERSAO primary key (ID)
)^
commit^

insert into VERSAO (ID, SCRIPT, NUMERO) values (1, 'COMMON.SQL', '1.00')^

set TERM ; ^

commit work;
