-- Texts of the master tables get the lengths of a new database (the 長さ_
-- checks of schema.sql), which a database made by an earlier version lacks.
-- The tables are made again with their rows unchanged, row numbers included;
-- the views and triggers that name them find the new tables by name. The
-- script runs once, on a database made before the checks: when a stored row
-- does not fit, nothing is changed and the database stays as it was.
PRAGMA legacy_alter_table = ON;
BEGIN;

CREATE TABLE T_所属_new (
  所属ID INTEGER PRIMARY KEY CHECK (所属ID BETWEEN -32768 AND 32767),
  所属名 TEXT,
  県名 TEXT CONSTRAINT 長さ_県名 CHECK (length(県名) <= 2)
);
INSERT INTO T_所属_new (所属ID, 所属名, 県名) SELECT 所属ID, 所属名, 県名 FROM T_所属;
DROP TABLE T_所属;
ALTER TABLE T_所属_new RENAME TO T_所属;

CREATE TABLE T_競艇場_new (
  競艇場ID INTEGER NOT NULL UNIQUE CHECK (typeof(競艇場ID) = 'integer' AND 競艇場ID BETWEEN -32768 AND 32767),
  競艇場名 TEXT CONSTRAINT 長さ_競艇場名 CHECK (length(競艇場名) <= 22)
);
INSERT INTO T_競艇場_new (rowid, 競艇場ID, 競艇場名) SELECT rowid, 競艇場ID, 競艇場名 FROM T_競艇場;
DROP TABLE T_競艇場;
ALTER TABLE T_競艇場_new RENAME TO T_競艇場;

CREATE TABLE T_選手_new (
  選手ID INTEGER PRIMARY KEY CHECK (選手ID BETWEEN -32768 AND 32767),
  期 INTEGER CHECK (期 IS NULL OR (typeof(期) = 'integer' AND 期 BETWEEN -32768 AND 32767)),
  所属ID INTEGER CHECK (所属ID IS NULL OR (typeof(所属ID) = 'integer' AND 所属ID BETWEEN -32768 AND 32767)),
  級 TEXT CONSTRAINT 長さ_級 CHECK (length(級) <= 2),
  名前 TEXT CONSTRAINT 長さ_名前 CHECK (length(名前) <= 22),
  よみがな TEXT CONSTRAINT 長さ_よみがな CHECK (length(よみがな) <= 15),
  よみがな１桁 TEXT CONSTRAINT 長さ_よみがな１桁 CHECK (length(よみがな１桁) <= 1),
  生年 INTEGER CHECK (生年 IS NULL OR (typeof(生年) = 'integer' AND 生年 BETWEEN -32768 AND 32767)),
  生月 INTEGER CHECK (生月 IS NULL OR (typeof(生月) = 'integer' AND 生月 BETWEEN -32768 AND 32767)),
  生日 INTEGER CHECK (生日 IS NULL OR (typeof(生日) = 'integer' AND 生日 BETWEEN -32768 AND 32767)),
  血液型ID INTEGER CHECK (血液型ID IS NULL OR (typeof(血液型ID) = 'integer' AND 血液型ID BETWEEN -32768 AND 32767)),
  勝率 REAL,
  複勝率 REAL
);
INSERT INTO T_選手_new (選手ID, 期, 所属ID, 級, 名前, よみがな, よみがな１桁, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率)
SELECT 選手ID, 期, 所属ID, 級, 名前, よみがな, よみがな１桁, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率 FROM T_選手;
DROP TABLE T_選手;
ALTER TABLE T_選手_new RENAME TO T_選手;

CREATE TABLE T_個別名簿_new (
  名前 TEXT CONSTRAINT 長さ_名前 CHECK (length(名前) <= 22),
  生年 TEXT,
  生月 TEXT,
  生日 TEXT
);
INSERT INTO T_個別名簿_new (rowid, 名前, 生年, 生月, 生日) SELECT rowid, 名前, 生年, 生月, 生日 FROM T_個別名簿;
DROP TABLE T_個別名簿;
ALTER TABLE T_個別名簿_new RENAME TO T_個別名簿;

COMMIT;
PRAGMA legacy_alter_table = OFF;
