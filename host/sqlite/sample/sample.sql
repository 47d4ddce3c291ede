-- The sample engineering database. Texts are stored blank-encoded
-- (blank %20, apostrophe %27, percent %25), the form the broker writes into
-- statements, so that a parameter's value equals the stored text.
CREATE TABLE PRODUCT (
  ID TEXT PRIMARY KEY,
  NAME TEXT NOT NULL,
  RELEASED INTEGER
);
CREATE TABLE PART (
  ID TEXT PRIMARY KEY,
  NAME TEXT NOT NULL,
  MASS REAL,
  MATERIAL TEXT,
  QTY INTEGER,
  PRODUCT TEXT REFERENCES PRODUCT (ID)
);
CREATE TABLE DOCUMENT (
  DOCNO TEXT PRIMARY KEY,
  TITLE TEXT NOT NULL,
  PART TEXT REFERENCES PART (ID),
  CHECKSUM BLOB
);
CREATE TABLE WORKPACKAGE (
  WPID TEXT PRIMARY KEY,
  NAME TEXT NOT NULL,
  STATE TEXT,
  OWNER TEXT,
  PARTS TEXT
);

INSERT INTO PRODUCT VALUES
  ('PR1', 'Gear%20pump%20GP-40', 2019),
  ('PR2', 'Valve%20block', NULL),
  ('PR3', 'O%27Brien%27s%20test%20rig', 2023);

INSERT INTO PART VALUES
  ('P1', 'Pump%20housing', 2.75, 'Cast%20iron', 1, 'PR1'),
  ('P2', 'Drive%20gear', 0.42, 'Stainless%20steel', 2, 'PR1'),
  ('P3', 'Shaft%20seal', 0.015, 'FKM', 2, 'PR1'),
  ('P4', 'Valve%20body', 1.9, 'Aluminium', 1, 'PR2'),
  ('P5', 'Spool', 0.31, 'Stainless%20steel', 1, 'PR2'),
  ('P6', 'Hex%20bolt%20M8', 0.012, 'Steel%208.8', 12, 'PR2'),
  ('P7', 'Frame', NULL, 'Aluminium', 1, 'PR3'),
  ('P8', 'Operator%27s%20panel', 3.2, NULL, 1, NULL);

INSERT INTO DOCUMENT VALUES
  ('D1', 'Housing%20drawing', 'P1', X'1F8B0800'),
  ('D2', 'Housing%20casting%20spec', 'P1', NULL),
  ('D3', 'Gear%20drawing', 'P2', X'CAFE'),
  ('D4', 'Valve%20body%20drawing', 'P4', NULL),
  ('D5', 'Spool%20tolerances', 'P5', X'00FF');

INSERT INTO WORKPACKAGE VALUES
  ('WP1', 'Pump%20redesign', 'open', 'J.%20Smith', 'P1+P2+P3'),
  ('WP2', 'Valve%20cost%20down', 'closed', 'A.%20O%27Neil', 'P4+P5'),
  ('WP3', 'Rig%20set-up', 'open', NULL, NULL);
