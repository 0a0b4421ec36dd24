/******************************************************************************
 * COMMON.SQL 1.02
 * Funções externas da biblioteca ib_udf e a nova forma do cadastro de
 * clientes: código, documento, responsável, DDDs como texto e observações.
 ******************************************************************************/

set TERM ^ ;

/* SUBSTR(texto, início, fim): o terceiro argumento é a posição final */
declare external function SUBSTR
    cstring(80), smallint, smallint
    returns cstring(80) free_it
    entry_point 'IB_UDF_substr' module_name 'ib_udf'^

declare external function STRLEN
    cstring(32767)
    returns integer by value
    entry_point 'IB_UDF_strlen' module_name 'ib_udf'^

declare external function LTRIM
    cstring(80)
    returns cstring(80) free_it
    entry_point 'IB_UDF_ltrim' module_name 'ib_udf'^

alter table CLIENTE add CODIGO varchar(08)^
alter table CLIENTE add CNPJ_CPF varchar(15)^
alter table CLIENTE add RESP varchar(35)^
alter table CLIENTE add RG_RESP varchar(10)^
alter table CLIENTE add TEL_DDD varchar(03)^
alter table CLIENTE add FAX_DDD varchar(03)^
alter table CLIENTE add CEL_DDD varchar(03)^
alter table CLIENTE add OBSERVACOES blob sub_type 1^

alter table CLIENTE alter column INSCRICAO_ESTADUAL to IE_RG^
alter table CLIENTE alter column IMPRIMIR_NOTA_FISCAL to IMP_NF^
alter table CLIENTE alter column TELEFONE to TEL^
alter table CLIENTE alter column CELULAR to CEL^

alter table CLIENTE alter column TEL type varchar(12)^
alter table CLIENTE alter column FAX type varchar(12)^
alter table CLIENTE alter column CEL type varchar(12)^
commit^

/* CODIGO: o ID com zeros à esquerda até 8 caracteres */
update CLIENTE set
    CODIGO = SUBSTR('00000000', 1, 8 - STRLEN(cast(ID as varchar(11)))) || cast(ID as varchar(11)),
    CNPJ_CPF = substring(DOCUMENTO from 1 for 15),
    RESP = substring(RESPONSAVEL from 1 for 35),
    RG_RESP = substring(RG from 1 for 10),
    /* um DDD fora de -9..99 não cabe em 2 caracteres: fica para o passo seguinte */
    TEL_DDD = case when TELEFONEDDD between -9 and 99 then ' ' || cast(TELEFONEDDD as varchar(2)) end,
    FAX_DDD = case when FAXDDD between -9 and 99 then ' ' || cast(FAXDDD as varchar(2)) end,
    CEL_DDD = case when CELULARDDD between -9 and 99 then ' ' || cast(CELULARDDD as varchar(2)) end^

update CLIENTE set TEL_DDD = cast(TELEFONEDDD as varchar(3)) where TELEFONEDDD between 100 and 999^
update CLIENTE set FAX_DDD = cast(FAXDDD as varchar(3)) where FAXDDD between 100 and 999^
update CLIENTE set CEL_DDD = cast(CELULARDDD as varchar(3)) where CELULARDDD between 100 and 999^

/* os dados copiados ficam gravados antes que as colunas antigas desapareçam */
commit^

alter table CLIENTE drop DOCUMENTO^
alter table CLIENTE drop RESPONSAVEL^
alter table CLIENTE drop RG^
alter table CLIENTE drop TELEFONEDDD^
alter table CLIENTE drop FAXDDD^
alter table CLIENTE drop CELULARDDD^

alter table CLIENTE
    alter CODIGO position 2,
    alter CNPJ_CPF position 5,
    alter RESP position 8,
    alter RG_RESP position 9,
    alter TEL_DDD position 17,
    alter FAX_DDD position 19,
    alter CEL_DDD position 21^
commit^

create unique index CLIENTE_01 on CLIENTE (CODIGO)^
commit^

update VERSAO set NUMERO = '1.02' where ID = 1^

set TERM ; ^

commit work;
