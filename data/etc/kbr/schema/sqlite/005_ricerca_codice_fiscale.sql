-- The store finds a person of a return by his fiscal code whatever its case:
-- the index holds the code as the search compares it, so that finding one
-- person among thousands reads a few rows, not the whole return. It takes
-- the place of the index on the code as written, which no search uses and
-- which the server would otherwise pick for a statement prepared while the
-- table was still empty.
DROP INDEX IX_AFI_ISTANZA;
CREATE INDEX IX_AFI_CODICE ON TAFI_ANAFISCALE (ICRFID, UPPER(SAFICODFISCALE));
