-- The payroll module's tables that the CU import and the selection of the
-- self-employed read: people and their contracts, the monthly payroll items,
-- the withholdings of payments and of arrears, the compensation register,
-- the detractions with the children, and the lookups they refer to.

-- Lookups. The identifiers of TTNO_TIPINOMINA and TQAR_QUALIFICHE are fixed
-- codes of the payroll (10 extraneous staff, 14 professionals, 15 occasional
-- self-employed, 17 the category "P"; qualifications 5, 14, 29 "E" and 7, 8,
-- 9, 12 "D" of the certification's special categories); the NORMACODE
-- columns are the codes the office sees.
CREATE TABLE TSEX_SESSI (
    ISEXID INTEGER NOT NULL PRIMARY KEY,
    SSEXSDESC VARCHAR(1) NOT NULL,
    SSEXDESC VARCHAR(20)
);

CREATE TABLE TSTA_STATI (
    ISTAID INTEGER NOT NULL PRIMARY KEY,
    SSTADESC VARCHAR(60) NOT NULL
);

-- IREPACODICE: the region's code in the return (01 Abruzzo ... 21 Veneto).
CREATE TABLE TREPA_REGIONI (
    IREPAID INTEGER NOT NULL PRIMARY KEY,
    IREPACODICE INTEGER NOT NULL,
    SREPADESC VARCHAR(60)
);

-- SPROSIGLA "EE" stands for abroad.
CREATE TABLE TPRO_PROVINCE (
    IPROID INTEGER NOT NULL PRIMARY KEY,
    SPROSIGLA VARCHAR(2) NOT NULL,
    SPRODESC VARCHAR(60),
    IREPAID INTEGER
);

CREATE TABLE TCOM_COMUNI (
    ICOMID INTEGER NOT NULL PRIMARY KEY,
    SCOMDESC VARCHAR(60) NOT NULL,
    SCOMCODCATASTALE VARCHAR(4),
    IPROID INTEGER
);

CREATE TABLE TCAL_CATEGORIE (
    ICALID INTEGER NOT NULL PRIMARY KEY,
    ICALNORMACODE INTEGER NOT NULL,
    SCALDESC VARCHAR(60)
);

CREATE TABLE TTNO_TIPINOMINA (
    ITNOID INTEGER NOT NULL PRIMARY KEY,
    ITNONORMACODE INTEGER NOT NULL,
    STNODESC VARCHAR(60)
);

CREATE TABLE TQAR_QUALIFICHE (
    IQARID INTEGER NOT NULL PRIMARY KEY,
    IQARNORMACODE INTEGER NOT NULL,
    SQARDESC VARCHAR(60)
);

-- A person of a school's payroll: employee, self-employed worker or other
-- payee. Born abroad: ISTAID_NAS instead of ICOMID_NAS. SANACODFISESTERO is
-- the tax identifier of a resident abroad.
CREATE TABLE TANA_ANAGRAFE (
    IANAID INTEGER NOT NULL PRIMARY KEY,
    IDWGID INTEGER NOT NULL,
    SANAMATRICOLA VARCHAR(10),
    SANACODFISCALE VARCHAR(16),
    SANACOGNOME VARCHAR(100) NOT NULL,
    SANANOME VARCHAR(60),
    ISEXID INTEGER,
    DANANASCITA DATE,
    ICOMID_NAS INTEGER,
    ISTAID_NAS INTEGER,
    SANACODFISESTERO VARCHAR(25)
);
CREATE INDEX IX_ANA_SCUOLA ON TANA_ANAGRAFE (IDWGID);
CREATE INDEX IX_ANA_CODFISCALE ON TANA_ANAGRAFE (SANACODFISCALE);

-- Residences of a person; the latest (highest IABTID) is the current one.
CREATE TABLE TABT_ABITAZIONI (
    IABTID INTEGER NOT NULL PRIMARY KEY,
    IANAID INTEGER NOT NULL,
    ICOMID INTEGER,
    SABTINDIRIZZO VARCHAR(100)
);
CREATE INDEX IX_ABT_PERSONA ON TABT_ABITAZIONI (IANAID);

-- A contract of a person in a financial year at a school: category,
-- position (type of appointment), qualification and the region of its
-- regional additional tax. A contract without an end is still in service.
CREATE TABLE TACOM_ANACONTRATTI (
    IACOMID INTEGER NOT NULL PRIMARY KEY,
    IANAID INTEGER NOT NULL,
    IANFID INTEGER NOT NULL,
    IDWGID INTEGER NOT NULL,
    ICALID INTEGER,
    ITNOID INTEGER,
    IQARID INTEGER,
    IREPAID INTEGER,
    DACOMINIZIO DATE NOT NULL,
    DACOMFINE DATE
);
CREATE INDEX IX_ACOM_PERSONA ON TACOM_ANACONTRATTI (IANAID, IANFID);

-- The items of the monthly payroll. ICOMRGRUPPO 4 gathers the items of the
-- tax assistance (730): refunds and withholdings of IRPEF, instalments,
-- additional taxes (codes 10026 ... 10066).
CREATE TABLE TCOMR_VOCIRETRIBUTIVE (
    ICOMRID INTEGER NOT NULL PRIMARY KEY,
    SCOMRDESC VARCHAR(100),
    ICOMRGRUPPO INTEGER
);

-- An item of a contract's payroll in a month (IMESID 1-12): its gross amount,
-- negative for a recovery.
CREATE TABLE TVACR_VOCICEDOLINO (
    IVACRID INTEGER NOT NULL PRIMARY KEY,
    IACOMID INTEGER NOT NULL,
    IMESID INTEGER NOT NULL,
    ICOMRID INTEGER NOT NULL,
    FVACRLORDO REAL
);
CREATE INDEX IX_VACR_CONTRATTO ON TVACR_VOCICEDOLINO (IACOMID);

-- The compensation register: a payment to a person in a financial year,
-- with the reason of the self-employed certification (SREGSCAUSALE: A, M,
-- P ...), the sums not subject to withholding and the expenses refunded.
CREATE TABLE TREGS_REGISTROCOMPENSI (
    IREGSID INTEGER NOT NULL PRIMARY KEY,
    IDWGID INTEGER NOT NULL,
    IANFID INTEGER NOT NULL,
    IANAID INTEGER NOT NULL,
    SREGSCAUSALE VARCHAR(2),
    DREGSDATA DATE,
    FREGSNONSOGG REAL,
    FREGSSPESERIMB REAL
);
CREATE INDEX IX_REGS_PERSONA ON TREGS_REGISTROCOMPENSI (IANAID, IANFID);

-- The withholdings (IRICEID: 11 IRPEF on payments, 12 IRPEF on arrears of
-- earlier years under separate taxation, 3 and 13 social contributions,
-- 8-10 other IRPEF withholdings) now belong to a payment of the register
-- (IREGSID) or to the payroll of a contract (IACOMID). Arrears name the year
-- they belong to (IVARRANNO) and, for a part that belongs to an earlier
-- year still, that year (IVARRANNOPREC) with its taxable amount
-- (FVARRIMPONIBILEAP); FVARRALIQUOTADIP is the rate applied.
ALTER TABLE TVARR_VARRITENUTE ADD COLUMN IREGSID INTEGER;
ALTER TABLE TVARR_VARRITENUTE ADD COLUMN IACOMID INTEGER;
ALTER TABLE TVARR_VARRITENUTE ADD COLUMN IVARRANNO INTEGER;
ALTER TABLE TVARR_VARRITENUTE ADD COLUMN IVARRANNOPREC INTEGER;
ALTER TABLE TVARR_VARRITENUTE ADD COLUMN FVARRIMPONIBILEAP REAL;
ALTER TABLE TVARR_VARRITENUTE ADD COLUMN FVARRALIQUOTADIP REAL;
CREATE INDEX IX_VARR_PAGAMENTO ON TVARR_VARRITENUTE (IREGSID);
CREATE INDEX IX_VARR_CONTRATTO ON TVARR_VARRITENUTE (IACOMID);

-- The detractions of a person in a financial year: spouse, number of
-- children and of other dependants (up to two by fiscal code, with their
-- percentage).
CREATE TABLE TADET_DETRAZIONI (
    IADETID INTEGER NOT NULL PRIMARY KEY,
    IANAID INTEGER NOT NULL,
    IANFID INTEGER NOT NULL,
    LADETCONCAR INTEGER DEFAULT 0,
    SADETCFCONCAR VARCHAR(16),
    IADETFIGLI INTEGER DEFAULT 0,
    IADETALTRI INTEGER DEFAULT 0,
    SADETCFALTRICAR1 VARCHAR(16),
    SADETCFALTRICAR2 VARCHAR(16),
    FADETPERCALTRI REAL
);
CREATE INDEX IX_ADET_PERSONA ON TADET_DETRAZIONI (IANAID, IANFID);

-- A child of a detraction for a period of months (IMESDAL-IMESAL), with
-- its order among the children, the months of the period in which the
-- child was under three, the percentage of the detraction, disability and
-- sole custody.
CREATE TABLE TADEF_DETRFIGLI (
    IADEFID INTEGER NOT NULL PRIMARY KEY,
    IADETID INTEGER NOT NULL,
    IADEFORDINE INTEGER NOT NULL,
    SADEFCODFISC VARCHAR(16),
    IMESDAL INTEGER NOT NULL,
    IMESAL INTEGER NOT NULL,
    IADEFMESIMIN3 INTEGER DEFAULT 0,
    FDEFPERC REAL,
    LADEFHANDYCAP INTEGER DEFAULT 0,
    LADEFAFFIDO100 INTEGER DEFAULT 0
);
CREATE INDEX IX_ADEF_DETRAZIONE ON TADEF_DETRFIGLI (IADETID);

-- The calendar year of a financial year, which the payroll calls its value.
ALTER TABLE TANF_ANNIFINANZ ADD COLUMN IANFVALORE INTEGER;
UPDATE TANF_ANNIFINANZ SET IANFVALORE = CAST(SUBSTR(DANFNORMAINIZIO, 1, 4) AS INTEGER);
