-- Stored races keep each racer once per distinct content. A racer as he
-- was on a race day (name, branch, class raced in, rates, birth date) is one
-- row of T_選手控, shared by every seat that names him so; a stored race
-- points at it from 控n. 着n keeps the finish code of the results file as it
-- stands ("01".."06", "F", "L0", "K1", "S0" ...), 結果n the position. The
-- script runs once: on a new database, and on one whose stored races kept a
-- copy for each seat in T_レース選手, whose copies it moves here.
BEGIN;

DROP VIEW IF EXISTS Q_レース履歴;
DROP TRIGGER IF EXISTS T_レース履歴_copy;
DROP TRIGGER IF EXISTS T_レース履歴_recopy;

-- Every content column is filled (0 or empty where nothing is known), so
-- that one content is one row. 生年 0: the birth date is not known (a racer
-- known only from a race program).
CREATE TABLE T_選手控 (
  控ID INTEGER PRIMARY KEY,
  選手ID INTEGER NOT NULL CHECK (選手ID BETWEEN -32768 AND 32767),
  期 INTEGER NOT NULL DEFAULT 0,
  所属ID INTEGER NOT NULL DEFAULT 0,
  級 TEXT NOT NULL DEFAULT '',
  名前 TEXT NOT NULL DEFAULT '',
  よみがな TEXT NOT NULL DEFAULT '',
  生年 INTEGER NOT NULL DEFAULT 0,
  生月 INTEGER NOT NULL DEFAULT 0,
  生日 INTEGER NOT NULL DEFAULT 0,
  血液型ID INTEGER NOT NULL DEFAULT 0,
  勝率 REAL NOT NULL DEFAULT 0,
  複勝率 REAL NOT NULL DEFAULT 0,
  UNIQUE (選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率)
);

ALTER TABLE T_レース履歴 ADD COLUMN 控1 INTEGER;
ALTER TABLE T_レース履歴 ADD COLUMN 控2 INTEGER;
ALTER TABLE T_レース履歴 ADD COLUMN 控3 INTEGER;
ALTER TABLE T_レース履歴 ADD COLUMN 控4 INTEGER;
ALTER TABLE T_レース履歴 ADD COLUMN 控5 INTEGER;
ALTER TABLE T_レース履歴 ADD COLUMN 控6 INTEGER;
ALTER TABLE T_レース履歴 ADD COLUMN 着1 TEXT CONSTRAINT 長さ_着1 CHECK (length(着1) <= 2);
ALTER TABLE T_レース履歴 ADD COLUMN 着2 TEXT CONSTRAINT 長さ_着2 CHECK (length(着2) <= 2);
ALTER TABLE T_レース履歴 ADD COLUMN 着3 TEXT CONSTRAINT 長さ_着3 CHECK (length(着3) <= 2);
ALTER TABLE T_レース履歴 ADD COLUMN 着4 TEXT CONSTRAINT 長さ_着4 CHECK (length(着4) <= 2);
ALTER TABLE T_レース履歴 ADD COLUMN 着5 TEXT CONSTRAINT 長さ_着5 CHECK (length(着5) <= 2);
ALTER TABLE T_レース履歴 ADD COLUMN 着6 TEXT CONSTRAINT 長さ_着6 CHECK (length(着6) <= 2);

-- The races of a day, and whether a race is stored already.
CREATE INDEX T_レース履歴_日 ON T_レース履歴 (調査年, 調査月, 調査日, 競艇場ID, レースNO);

-- The racer table as a copy holds it.
CREATE VIEW Q_選手控元 AS
SELECT 選手ID, ifnull(期, 0) AS 期, ifnull(所属ID, 0) AS 所属ID, ifnull(級, '') AS 級, ifnull(名前, '') AS 名前,
       ifnull(よみがな, '') AS よみがな, ifnull(生年, 0) AS 生年, ifnull(生月, 0) AS 生月, ifnull(生日, 0) AS 生日,
       ifnull(血液型ID, 0) AS 血液型ID, ifnull(勝率, 0) AS 勝率, ifnull(複勝率, 0) AS 複勝率 FROM T_選手;

-- The copies kept so far move here, each distinct content once.
INSERT OR IGNORE INTO T_選手控 (選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率)
SELECT 選手ID, ifnull(期, 0), ifnull(所属ID, 0), ifnull(級, ''), ifnull(名前, ''), ifnull(よみがな, ''), ifnull(生年, 0), ifnull(生月, 0), ifnull(生日, 0), ifnull(血液型ID, 0), ifnull(勝率, 0), ifnull(複勝率, 0) FROM T_レース選手;
UPDATE T_レース履歴 SET 控1 = (
  SELECT k.控ID FROM T_レース選手 c JOIN T_選手控 k
    ON k.選手ID = c.選手ID AND k.期 = ifnull(c.期, 0) AND k.所属ID = ifnull(c.所属ID, 0) AND k.級 = ifnull(c.級, '')
   AND k.名前 = ifnull(c.名前, '') AND k.よみがな = ifnull(c.よみがな, '') AND k.生年 = ifnull(c.生年, 0)
   AND k.生月 = ifnull(c.生月, 0) AND k.生日 = ifnull(c.生日, 0) AND k.血液型ID = ifnull(c.血液型ID, 0)
   AND k.勝率 = ifnull(c.勝率, 0) AND k.複勝率 = ifnull(c.複勝率, 0)
  WHERE c.履歴ID = T_レース履歴.履歴ID AND c.艇番 = 1 AND c.選手ID = T_レース履歴.選手1)
WHERE 選手1 <> 0;
UPDATE T_レース履歴 SET 控2 = (
  SELECT k.控ID FROM T_レース選手 c JOIN T_選手控 k
    ON k.選手ID = c.選手ID AND k.期 = ifnull(c.期, 0) AND k.所属ID = ifnull(c.所属ID, 0) AND k.級 = ifnull(c.級, '')
   AND k.名前 = ifnull(c.名前, '') AND k.よみがな = ifnull(c.よみがな, '') AND k.生年 = ifnull(c.生年, 0)
   AND k.生月 = ifnull(c.生月, 0) AND k.生日 = ifnull(c.生日, 0) AND k.血液型ID = ifnull(c.血液型ID, 0)
   AND k.勝率 = ifnull(c.勝率, 0) AND k.複勝率 = ifnull(c.複勝率, 0)
  WHERE c.履歴ID = T_レース履歴.履歴ID AND c.艇番 = 2 AND c.選手ID = T_レース履歴.選手2)
WHERE 選手2 <> 0;
UPDATE T_レース履歴 SET 控3 = (
  SELECT k.控ID FROM T_レース選手 c JOIN T_選手控 k
    ON k.選手ID = c.選手ID AND k.期 = ifnull(c.期, 0) AND k.所属ID = ifnull(c.所属ID, 0) AND k.級 = ifnull(c.級, '')
   AND k.名前 = ifnull(c.名前, '') AND k.よみがな = ifnull(c.よみがな, '') AND k.生年 = ifnull(c.生年, 0)
   AND k.生月 = ifnull(c.生月, 0) AND k.生日 = ifnull(c.生日, 0) AND k.血液型ID = ifnull(c.血液型ID, 0)
   AND k.勝率 = ifnull(c.勝率, 0) AND k.複勝率 = ifnull(c.複勝率, 0)
  WHERE c.履歴ID = T_レース履歴.履歴ID AND c.艇番 = 3 AND c.選手ID = T_レース履歴.選手3)
WHERE 選手3 <> 0;
UPDATE T_レース履歴 SET 控4 = (
  SELECT k.控ID FROM T_レース選手 c JOIN T_選手控 k
    ON k.選手ID = c.選手ID AND k.期 = ifnull(c.期, 0) AND k.所属ID = ifnull(c.所属ID, 0) AND k.級 = ifnull(c.級, '')
   AND k.名前 = ifnull(c.名前, '') AND k.よみがな = ifnull(c.よみがな, '') AND k.生年 = ifnull(c.生年, 0)
   AND k.生月 = ifnull(c.生月, 0) AND k.生日 = ifnull(c.生日, 0) AND k.血液型ID = ifnull(c.血液型ID, 0)
   AND k.勝率 = ifnull(c.勝率, 0) AND k.複勝率 = ifnull(c.複勝率, 0)
  WHERE c.履歴ID = T_レース履歴.履歴ID AND c.艇番 = 4 AND c.選手ID = T_レース履歴.選手4)
WHERE 選手4 <> 0;
UPDATE T_レース履歴 SET 控5 = (
  SELECT k.控ID FROM T_レース選手 c JOIN T_選手控 k
    ON k.選手ID = c.選手ID AND k.期 = ifnull(c.期, 0) AND k.所属ID = ifnull(c.所属ID, 0) AND k.級 = ifnull(c.級, '')
   AND k.名前 = ifnull(c.名前, '') AND k.よみがな = ifnull(c.よみがな, '') AND k.生年 = ifnull(c.生年, 0)
   AND k.生月 = ifnull(c.生月, 0) AND k.生日 = ifnull(c.生日, 0) AND k.血液型ID = ifnull(c.血液型ID, 0)
   AND k.勝率 = ifnull(c.勝率, 0) AND k.複勝率 = ifnull(c.複勝率, 0)
  WHERE c.履歴ID = T_レース履歴.履歴ID AND c.艇番 = 5 AND c.選手ID = T_レース履歴.選手5)
WHERE 選手5 <> 0;
UPDATE T_レース履歴 SET 控6 = (
  SELECT k.控ID FROM T_レース選手 c JOIN T_選手控 k
    ON k.選手ID = c.選手ID AND k.期 = ifnull(c.期, 0) AND k.所属ID = ifnull(c.所属ID, 0) AND k.級 = ifnull(c.級, '')
   AND k.名前 = ifnull(c.名前, '') AND k.よみがな = ifnull(c.よみがな, '') AND k.生年 = ifnull(c.生年, 0)
   AND k.生月 = ifnull(c.生月, 0) AND k.生日 = ifnull(c.生日, 0) AND k.血液型ID = ifnull(c.血液型ID, 0)
   AND k.勝率 = ifnull(c.勝率, 0) AND k.複勝率 = ifnull(c.複勝率, 0)
  WHERE c.履歴ID = T_レース履歴.履歴ID AND c.艇番 = 6 AND c.選手ID = T_レース履歴.選手6)
WHERE 選手6 <> 0;
DROP TABLE T_レース選手;

-- A race stored without copies (from the race table) gets a copy of each
-- seat's racer as the racer table has him that day.
CREATE TRIGGER T_レース履歴_copy AFTER INSERT ON T_レース履歴
WHEN NEW.控1 IS NULL OR NEW.控2 IS NULL OR NEW.控3 IS NULL OR NEW.控4 IS NULL OR NEW.控5 IS NULL OR NEW.控6 IS NULL
BEGIN
  INSERT OR IGNORE INTO T_選手控 (選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率)
  SELECT 選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率 FROM Q_選手控元
  WHERE 選手ID <> 0 AND 選手ID IN (CASE WHEN NEW.控1 IS NULL THEN NEW.選手1 END, CASE WHEN NEW.控2 IS NULL THEN NEW.選手2 END, CASE WHEN NEW.控3 IS NULL THEN NEW.選手3 END, CASE WHEN NEW.控4 IS NULL THEN NEW.選手4 END, CASE WHEN NEW.控5 IS NULL THEN NEW.選手5 END, CASE WHEN NEW.控6 IS NULL THEN NEW.選手6 END);
  UPDATE T_レース履歴 SET
    控1 = ifnull(NEW.控1, (SELECT k.控ID FROM Q_選手控元 s JOIN T_選手控 k USING (選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) WHERE s.選手ID = NEW.選手1)),
    控2 = ifnull(NEW.控2, (SELECT k.控ID FROM Q_選手控元 s JOIN T_選手控 k USING (選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) WHERE s.選手ID = NEW.選手2)),
    控3 = ifnull(NEW.控3, (SELECT k.控ID FROM Q_選手控元 s JOIN T_選手控 k USING (選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) WHERE s.選手ID = NEW.選手3)),
    控4 = ifnull(NEW.控4, (SELECT k.控ID FROM Q_選手控元 s JOIN T_選手控 k USING (選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) WHERE s.選手ID = NEW.選手4)),
    控5 = ifnull(NEW.控5, (SELECT k.控ID FROM Q_選手控元 s JOIN T_選手控 k USING (選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) WHERE s.選手ID = NEW.選手5)),
    控6 = ifnull(NEW.控6, (SELECT k.控ID FROM Q_選手控元 s JOIN T_選手控 k USING (選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) WHERE s.選手ID = NEW.選手6))
  WHERE 履歴ID = NEW.履歴ID;
END;

-- A seat given another racer gets a copy of him; a seat whose copy is of
-- its racer keeps it.
CREATE TRIGGER T_レース履歴_recopy AFTER UPDATE OF 選手1, 選手2, 選手3, 選手4, 選手5, 選手6 ON T_レース履歴
BEGIN
  INSERT OR IGNORE INTO T_選手控 (選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率)
  SELECT 選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率 FROM Q_選手控元
  WHERE 選手ID <> 0 AND 選手ID IN (CASE WHEN ifnull((SELECT 選手ID FROM T_選手控 WHERE 控ID = NEW.控1), -1) <> NEW.選手1 THEN NEW.選手1 END, CASE WHEN ifnull((SELECT 選手ID FROM T_選手控 WHERE 控ID = NEW.控2), -1) <> NEW.選手2 THEN NEW.選手2 END, CASE WHEN ifnull((SELECT 選手ID FROM T_選手控 WHERE 控ID = NEW.控3), -1) <> NEW.選手3 THEN NEW.選手3 END, CASE WHEN ifnull((SELECT 選手ID FROM T_選手控 WHERE 控ID = NEW.控4), -1) <> NEW.選手4 THEN NEW.選手4 END, CASE WHEN ifnull((SELECT 選手ID FROM T_選手控 WHERE 控ID = NEW.控5), -1) <> NEW.選手5 THEN NEW.選手5 END, CASE WHEN ifnull((SELECT 選手ID FROM T_選手控 WHERE 控ID = NEW.控6), -1) <> NEW.選手6 THEN NEW.選手6 END);
  UPDATE T_レース履歴 SET
    控1 = CASE WHEN (SELECT 選手ID FROM T_選手控 WHERE 控ID = NEW.控1) = NEW.選手1 THEN NEW.控1
               ELSE (SELECT k.控ID FROM Q_選手控元 s JOIN T_選手控 k USING (選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) WHERE s.選手ID = NEW.選手1) END,
    控2 = CASE WHEN (SELECT 選手ID FROM T_選手控 WHERE 控ID = NEW.控2) = NEW.選手2 THEN NEW.控2
               ELSE (SELECT k.控ID FROM Q_選手控元 s JOIN T_選手控 k USING (選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) WHERE s.選手ID = NEW.選手2) END,
    控3 = CASE WHEN (SELECT 選手ID FROM T_選手控 WHERE 控ID = NEW.控3) = NEW.選手3 THEN NEW.控3
               ELSE (SELECT k.控ID FROM Q_選手控元 s JOIN T_選手控 k USING (選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) WHERE s.選手ID = NEW.選手3) END,
    控4 = CASE WHEN (SELECT 選手ID FROM T_選手控 WHERE 控ID = NEW.控4) = NEW.選手4 THEN NEW.控4
               ELSE (SELECT k.控ID FROM Q_選手控元 s JOIN T_選手控 k USING (選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) WHERE s.選手ID = NEW.選手4) END,
    控5 = CASE WHEN (SELECT 選手ID FROM T_選手控 WHERE 控ID = NEW.控5) = NEW.選手5 THEN NEW.控5
               ELSE (SELECT k.控ID FROM Q_選手控元 s JOIN T_選手控 k USING (選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) WHERE s.選手ID = NEW.選手5) END,
    控6 = CASE WHEN (SELECT 選手ID FROM T_選手控 WHERE 控ID = NEW.控6) = NEW.選手6 THEN NEW.控6
               ELSE (SELECT k.控ID FROM Q_選手控元 s JOIN T_選手控 k USING (選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) WHERE s.選手ID = NEW.選手6) END
  WHERE 履歴ID = NEW.履歴ID;
END;

-- One row per stored race. Each value is the live racer's where the racer
-- table has him, else the copy's; an empty boat (選手n = 0, or a racer with
-- neither) reads as affiliation 0, numbers 0 and empty texts. 期n carries the
-- registration number shown under "登番". 級n is the class raced in (the
-- copy's), 着n the finish code ('' until results are read).
CREATE VIEW Q_レース履歴 AS
SELECT r.履歴ID AS _key,
       r.履歴ID,
       ifnull(r.調査年, 0) AS 調査年,
       ifnull(r.調査月, 0) AS 調査月,
       ifnull(r.調査日, 0) AS 調査日,
       ifnull(k.競艇場名, '') AS 競艇場名,
       ifnull(r.レースNO, 0) AS レースNO,
       ifnull(r.選手1, 0) AS 選手1,
       coalesce(s1.所属ID, c1.所属ID, 0) AS 所属ID1,
       coalesce(s1.選手ID, c1.選手ID, 0) AS 期1,
       coalesce(s1.名前, c1.名前, '') AS 名前1,
       coalesce(s1.生年, c1.生年, 0) AS 生年1,
       coalesce(s1.生月, c1.生月, 0) AS 生月1,
       coalesce(s1.生日, c1.生日, 0) AS 生日1,
       coalesce(s1.勝率, c1.勝率, 0) AS 勝率1,
       coalesce(s1.複勝率, c1.複勝率, 0) AS 複勝率1,
       r.結果1 AS 結果1,
       ifnull(r.選手2, 0) AS 選手2,
       coalesce(s2.所属ID, c2.所属ID, 0) AS 所属ID2,
       coalesce(s2.選手ID, c2.選手ID, 0) AS 期2,
       coalesce(s2.名前, c2.名前, '') AS 名前2,
       coalesce(s2.生年, c2.生年, 0) AS 生年2,
       coalesce(s2.生月, c2.生月, 0) AS 生月2,
       coalesce(s2.生日, c2.生日, 0) AS 生日2,
       coalesce(s2.勝率, c2.勝率, 0) AS 勝率2,
       coalesce(s2.複勝率, c2.複勝率, 0) AS 複勝率2,
       r.結果2 AS 結果2,
       ifnull(r.選手3, 0) AS 選手3,
       coalesce(s3.所属ID, c3.所属ID, 0) AS 所属ID3,
       coalesce(s3.選手ID, c3.選手ID, 0) AS 期3,
       coalesce(s3.名前, c3.名前, '') AS 名前3,
       coalesce(s3.生年, c3.生年, 0) AS 生年3,
       coalesce(s3.生月, c3.生月, 0) AS 生月3,
       coalesce(s3.生日, c3.生日, 0) AS 生日3,
       coalesce(s3.勝率, c3.勝率, 0) AS 勝率3,
       coalesce(s3.複勝率, c3.複勝率, 0) AS 複勝率3,
       r.結果3 AS 結果3,
       ifnull(r.選手4, 0) AS 選手4,
       coalesce(s4.所属ID, c4.所属ID, 0) AS 所属ID4,
       coalesce(s4.選手ID, c4.選手ID, 0) AS 期4,
       coalesce(s4.名前, c4.名前, '') AS 名前4,
       coalesce(s4.生年, c4.生年, 0) AS 生年4,
       coalesce(s4.生月, c4.生月, 0) AS 生月4,
       coalesce(s4.生日, c4.生日, 0) AS 生日4,
       coalesce(s4.勝率, c4.勝率, 0) AS 勝率4,
       coalesce(s4.複勝率, c4.複勝率, 0) AS 複勝率4,
       r.結果4 AS 結果4,
       ifnull(r.選手5, 0) AS 選手5,
       coalesce(s5.所属ID, c5.所属ID, 0) AS 所属ID5,
       coalesce(s5.選手ID, c5.選手ID, 0) AS 期5,
       coalesce(s5.名前, c5.名前, '') AS 名前5,
       coalesce(s5.生年, c5.生年, 0) AS 生年5,
       coalesce(s5.生月, c5.生月, 0) AS 生月5,
       coalesce(s5.生日, c5.生日, 0) AS 生日5,
       coalesce(s5.勝率, c5.勝率, 0) AS 勝率5,
       coalesce(s5.複勝率, c5.複勝率, 0) AS 複勝率5,
       r.結果5 AS 結果5,
       ifnull(r.選手6, 0) AS 選手6,
       coalesce(s6.所属ID, c6.所属ID, 0) AS 所属ID6,
       coalesce(s6.選手ID, c6.選手ID, 0) AS 期6,
       coalesce(s6.名前, c6.名前, '') AS 名前6,
       coalesce(s6.生年, c6.生年, 0) AS 生年6,
       coalesce(s6.生月, c6.生月, 0) AS 生月6,
       coalesce(s6.生日, c6.生日, 0) AS 生日6,
       coalesce(s6.勝率, c6.勝率, 0) AS 勝率6,
       coalesce(s6.複勝率, c6.複勝率, 0) AS 複勝率6,
       r.結果6 AS 結果6,
       CASE WHEN c1.控ID IS NOT NULL THEN c1.級 WHEN s1.選手ID IS NOT NULL THEN ifnull(s1.級, '') ELSE '' END AS 級1,
       CASE WHEN c2.控ID IS NOT NULL THEN c2.級 WHEN s2.選手ID IS NOT NULL THEN ifnull(s2.級, '') ELSE '' END AS 級2,
       CASE WHEN c3.控ID IS NOT NULL THEN c3.級 WHEN s3.選手ID IS NOT NULL THEN ifnull(s3.級, '') ELSE '' END AS 級3,
       CASE WHEN c4.控ID IS NOT NULL THEN c4.級 WHEN s4.選手ID IS NOT NULL THEN ifnull(s4.級, '') ELSE '' END AS 級4,
       CASE WHEN c5.控ID IS NOT NULL THEN c5.級 WHEN s5.選手ID IS NOT NULL THEN ifnull(s5.級, '') ELSE '' END AS 級5,
       CASE WHEN c6.控ID IS NOT NULL THEN c6.級 WHEN s6.選手ID IS NOT NULL THEN ifnull(s6.級, '') ELSE '' END AS 級6,
       ifnull(r.着1, '') AS 着1,
       ifnull(r.着2, '') AS 着2,
       ifnull(r.着3, '') AS 着3,
       ifnull(r.着4, '') AS 着4,
       ifnull(r.着5, '') AS 着5,
       ifnull(r.着6, '') AS 着6
FROM T_レース履歴 r
LEFT JOIN T_競艇場 k ON k.競艇場ID = r.競艇場ID
LEFT JOIN T_選手 s1 ON r.選手1 <> 0 AND s1.選手ID = r.選手1
LEFT JOIN T_選手控 c1 ON r.選手1 <> 0 AND c1.控ID = r.控1 AND c1.選手ID = r.選手1
LEFT JOIN T_選手 s2 ON r.選手2 <> 0 AND s2.選手ID = r.選手2
LEFT JOIN T_選手控 c2 ON r.選手2 <> 0 AND c2.控ID = r.控2 AND c2.選手ID = r.選手2
LEFT JOIN T_選手 s3 ON r.選手3 <> 0 AND s3.選手ID = r.選手3
LEFT JOIN T_選手控 c3 ON r.選手3 <> 0 AND c3.控ID = r.控3 AND c3.選手ID = r.選手3
LEFT JOIN T_選手 s4 ON r.選手4 <> 0 AND s4.選手ID = r.選手4
LEFT JOIN T_選手控 c4 ON r.選手4 <> 0 AND c4.控ID = r.控4 AND c4.選手ID = r.選手4
LEFT JOIN T_選手 s5 ON r.選手5 <> 0 AND s5.選手ID = r.選手5
LEFT JOIN T_選手控 c5 ON r.選手5 <> 0 AND c5.控ID = r.控5 AND c5.選手ID = r.選手5
LEFT JOIN T_選手 s6 ON r.選手6 <> 0 AND s6.選手ID = r.選手6
LEFT JOIN T_選手控 c6 ON r.選手6 <> 0 AND c6.控ID = r.控6 AND c6.選手ID = r.選手6
ORDER BY r.履歴ID;

-- The list of the race history window: one line per stored race.
CREATE VIEW Q_レース一覧 AS
SELECT r.履歴ID AS _key, r.履歴ID,
       ifnull(r.調査年, 0) AS 調査年, ifnull(r.調査月, 0) AS 調査月, ifnull(r.調査日, 0) AS 調査日,
       ifnull(r.競艇場ID, 0) AS 競艇場ID, ifnull(k.競艇場名, '') AS 競艇場名, ifnull(r.レースNO, 0) AS レースNO
FROM T_レース履歴 r
LEFT JOIN T_競艇場 k ON k.競艇場ID = r.競艇場ID
ORDER BY r.履歴ID;

COMMIT;
