-- Stored races keep their racers: when a race is stored, each seat's racer
-- is copied as he is that day into T_レース選手. Q_レース履歴 shows the live
-- racer where he still exists and the copy where he does not, so a retired
-- racer's races survive the next handbook import. The script runs once, on
-- a new database and on a database made before the copies existed (the view
-- is made again then).
BEGIN;

DROP VIEW IF EXISTS Q_レース履歴;
DROP TRIGGER IF EXISTS T_レース履歴_copy;
DROP TRIGGER IF EXISTS T_レース履歴_recopy;

CREATE TABLE T_レース選手 (
  履歴ID INTEGER NOT NULL REFERENCES T_レース履歴 (履歴ID) ON DELETE CASCADE,
  艇番 INTEGER NOT NULL CHECK (艇番 BETWEEN 1 AND 6),
  選手ID INTEGER NOT NULL,
  期 INTEGER,
  所属ID INTEGER,
  級 TEXT,
  名前 TEXT,
  よみがな TEXT,
  生年 INTEGER,
  生月 INTEGER,
  生日 INTEGER,
  血液型ID INTEGER,
  勝率 REAL,
  複勝率 REAL,
  PRIMARY KEY (履歴ID, 艇番)
) WITHOUT ROWID;

CREATE TRIGGER T_レース履歴_copy AFTER INSERT ON T_レース履歴
BEGIN
  INSERT OR REPLACE INTO T_レース選手
    (履歴ID, 艇番, 選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率)
  SELECT NEW.履歴ID, b.艇番, s.選手ID, s.期, s.所属ID, s.級, s.名前, s.よみがな, s.生年, s.生月, s.生日,
         s.血液型ID, s.勝率, s.複勝率
  FROM (SELECT 1 AS 艇番, NEW.選手1 AS 選手ID UNION ALL
        SELECT 2 AS 艇番, NEW.選手2 AS 選手ID UNION ALL
        SELECT 3 AS 艇番, NEW.選手3 AS 選手ID UNION ALL
        SELECT 4 AS 艇番, NEW.選手4 AS 選手ID UNION ALL
        SELECT 5 AS 艇番, NEW.選手5 AS 選手ID UNION ALL
        SELECT 6 AS 艇番, NEW.選手6 AS 選手ID) b
  JOIN T_選手 s ON s.選手ID = b.選手ID
  WHERE b.選手ID <> 0;
END;

-- A seat given another racer gets a copy of him; a copy of a racer who
-- left the seat stays unused (the view matches copies by racer).
CREATE TRIGGER T_レース履歴_recopy AFTER UPDATE OF 選手1, 選手2, 選手3, 選手4, 選手5, 選手6 ON T_レース履歴
BEGIN
  INSERT OR REPLACE INTO T_レース選手
    (履歴ID, 艇番, 選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率)
  SELECT NEW.履歴ID, b.艇番, s.選手ID, s.期, s.所属ID, s.級, s.名前, s.よみがな, s.生年, s.生月, s.生日,
         s.血液型ID, s.勝率, s.複勝率
  FROM (SELECT 1 AS 艇番, NEW.選手1 AS 選手ID UNION ALL
        SELECT 2 AS 艇番, NEW.選手2 AS 選手ID UNION ALL
        SELECT 3 AS 艇番, NEW.選手3 AS 選手ID UNION ALL
        SELECT 4 AS 艇番, NEW.選手4 AS 選手ID UNION ALL
        SELECT 5 AS 艇番, NEW.選手5 AS 選手ID UNION ALL
        SELECT 6 AS 艇番, NEW.選手6 AS 選手ID) b
  JOIN T_選手 s ON s.選手ID = b.選手ID
  WHERE b.選手ID <> 0 AND NOT EXISTS (
    SELECT 1 FROM T_レース選手 c
    WHERE c.履歴ID = NEW.履歴ID AND c.艇番 = b.艇番 AND c.選手ID = b.選手ID);
END;

-- One row per stored race. A copy is joined only where the racer table
-- has no such racer, so each value is the live one or else the copy's. An
-- empty boat (選手n = 0, or a racer found neither in the racer table nor
-- among the copies) reads as affiliation 0, numbers 0 and empty texts. 期n
-- carries the registration number shown under "登番".
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
       r.結果6 AS 結果6
FROM T_レース履歴 r
LEFT JOIN T_競艇場 k ON k.競艇場ID = r.競艇場ID
LEFT JOIN T_選手 s1 ON r.選手1 <> 0 AND s1.選手ID = r.選手1
LEFT JOIN T_レース選手 c1 ON s1.選手ID IS NULL AND r.選手1 <> 0 AND c1.履歴ID = r.履歴ID AND c1.艇番 = 1 AND c1.選手ID = r.選手1
LEFT JOIN T_選手 s2 ON r.選手2 <> 0 AND s2.選手ID = r.選手2
LEFT JOIN T_レース選手 c2 ON s2.選手ID IS NULL AND r.選手2 <> 0 AND c2.履歴ID = r.履歴ID AND c2.艇番 = 2 AND c2.選手ID = r.選手2
LEFT JOIN T_選手 s3 ON r.選手3 <> 0 AND s3.選手ID = r.選手3
LEFT JOIN T_レース選手 c3 ON s3.選手ID IS NULL AND r.選手3 <> 0 AND c3.履歴ID = r.履歴ID AND c3.艇番 = 3 AND c3.選手ID = r.選手3
LEFT JOIN T_選手 s4 ON r.選手4 <> 0 AND s4.選手ID = r.選手4
LEFT JOIN T_レース選手 c4 ON s4.選手ID IS NULL AND r.選手4 <> 0 AND c4.履歴ID = r.履歴ID AND c4.艇番 = 4 AND c4.選手ID = r.選手4
LEFT JOIN T_選手 s5 ON r.選手5 <> 0 AND s5.選手ID = r.選手5
LEFT JOIN T_レース選手 c5 ON s5.選手ID IS NULL AND r.選手5 <> 0 AND c5.履歴ID = r.履歴ID AND c5.艇番 = 5 AND c5.選手ID = r.選手5
LEFT JOIN T_選手 s6 ON r.選手6 <> 0 AND s6.選手ID = r.選手6
LEFT JOIN T_レース選手 c6 ON s6.選手ID IS NULL AND r.選手6 <> 0 AND c6.履歴ID = r.履歴ID AND c6.艇番 = 6 AND c6.選手ID = r.選手6
ORDER BY r.履歴ID;

COMMIT;
