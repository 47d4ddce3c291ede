-- The sample engineering database for a server: the same tables and rows
-- as the SQLite sample, with texts stored as they are (plain). Unquoted
-- names are folded to lower case by the server; the host finds them from
-- the upper-case class types and attributes the library writes.
CREATE TABLE PRODUCT (
  ID TEXT PRIMARY KEY,
  NAME TEXT NOT NULL,
  RELEASED INTEGER
);
CREATE TABLE PART (
  ID TEXT PRIMARY KEY,
  NAME TEXT NOT NULL,
  MASS DOUBLE PRECISION,
  MATERIAL TEXT,
  QTY INTEGER,
  PRODUCT TEXT REFERENCES PRODUCT (ID)
);
CREATE TABLE DOCUMENT (
  DOCNO TEXT PRIMARY KEY,
  TITLE TEXT NOT NULL,
  PART TEXT REFERENCES PART (ID),
  CHECKSUM BYTEA
);
CREATE TABLE WORKPACKAGE (
  WPID TEXT PRIMARY KEY,
  NAME TEXT NOT NULL,
  STATE TEXT,
  OWNER TEXT,
  PARTS TEXT
);

INSERT INTO PRODUCT VALUES
  ('PR1', 'Gear pump GP-40', 2019),
  ('PR2', 'Valve block', NULL),
  ('PR3', 'O''Brien''s test rig', 2023);

INSERT INTO PART VALUES
  ('P1', 'Pump housing', 2.75, 'Cast iron', 1, 'PR1'),
  ('P2', 'Drive gear', 0.42, 'Stainless steel', 2, 'PR1'),
  ('P3', 'Shaft seal', 0.015, 'FKM', 2, 'PR1'),
  ('P4', 'Valve body', 1.9, 'Aluminium', 1, 'PR2'),
  ('P5', 'Spool', 0.31, 'Stainless steel', 1, 'PR2'),
  ('P6', 'Hex bolt M8', 0.012, 'Steel 8.8', 12, 'PR2'),
  ('P7', 'Frame', NULL, 'Aluminium', 1, 'PR3'),
  ('P8', 'Operator''s panel', 3.2, NULL, 1, NULL);

INSERT INTO DOCUMENT VALUES
  ('D1', 'Housing drawing', 'P1', '\x1F8B0800'),
  ('D2', 'Housing casting spec', 'P1', NULL),
  ('D3', 'Gear drawing', 'P2', '\xCAFE'),
  ('D4', 'Valve body drawing', 'P4', NULL),
  ('D5', 'Spool tolerances', 'P5', '\x00FF');

INSERT INTO WORKPACKAGE VALUES
  ('WP1', 'Pump redesign', 'open', 'J. Smith', 'P1+P2+P3'),
  ('WP2', 'Valve cost down', 'closed', 'A. O''Neil', 'P4+P5'),
  ('WP3', 'Rig set-up', 'open', NULL, NULL);
