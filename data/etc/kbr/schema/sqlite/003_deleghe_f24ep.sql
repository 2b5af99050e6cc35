-- The payroll module's F24EP delegations, which the payments import reads
-- into the Prospetti ST and SV.

-- One delegation (one F24EP form) paid by the school: the financial year
-- whose accounting paid it and the date it was paid. The withholdings of
-- December are paid in January: their delegation belongs to the next
-- financial year.
CREATE TABLE TDF24_DELEGHEF24EP (
    IDF24ID INTEGER NOT NULL PRIMARY KEY,
    IANFID INTEGER NOT NULL,
    DDF24DTVERS DATE NOT NULL
);
CREATE INDEX IX_DF24_ANNO ON TDF24_DELEGHEF24EP (IANFID);

-- One tax line of a delegation.
--   SRF24SEZIONE       the section of the form: 'E' Erario, 'R' Regioni,
--                      'EL' Enti locali (and others the import does not read,
--                      such as 'I' INPS)
--   SRF24CODTRIBUTO    the tax code (100E, 104E, 381E, 384E, 385E, or the
--                      codes of the ordinary F24: 1001, 1040, 3802, 3847, 3848)
--   SRF24CODREG        the region of a regional surcharge (section R)
--   SRF24CODCOM        the municipality of a municipal surcharge (section EL)
--   SRF24MESE          the reference month, '01'..'12'
--   SRF24ANNO          the reference year: the year the amount was withheld,
--                      for a surcharge the year of the income it is due on
--   FRF24RITENUTE      the amount withheld
--   FRF24CREDITI       the tax credits offset against it
--   FRF24VERSATO       the amount paid
--   FRF24INTERESSI     the interest paid with it
--   LRF24RAVVEDIMENTO  1 when paid late with the voluntary correction
--   SRF24NOTASOSP      the note of a payment suspended by law (code of the
--                      event), with the amount suspended in FRF24IMPSOSP
CREATE TABLE TRF24_RIGHEF24EP (
    IRF24ID INTEGER NOT NULL PRIMARY KEY,
    IDF24ID INTEGER NOT NULL REFERENCES TDF24_DELEGHEF24EP (IDF24ID),
    SRF24SEZIONE VARCHAR(2) NOT NULL,
    SRF24CODTRIBUTO VARCHAR(4),
    SRF24CODREG VARCHAR(2),
    SRF24CODCOM VARCHAR(4),
    SRF24MESE VARCHAR(2),
    SRF24ANNO VARCHAR(4),
    FRF24RITENUTE REAL,
    FRF24CREDITI REAL,
    FRF24VERSATO REAL,
    FRF24INTERESSI REAL,
    LRF24RAVVEDIMENTO INTEGER DEFAULT 0,
    SRF24NOTASOSP VARCHAR(2),
    FRF24IMPSOSP REAL
);
CREATE INDEX IX_RF24_DELEGA ON TRF24_RIGHEF24EP (IDF24ID);
