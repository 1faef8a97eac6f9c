-- Vantor.mdb: tables, stored queries and delivered rows.
-- Whole numbers that the windows hold in 16-bit variables are checked to fit.
-- Texts of a fixed length are checked by a constraint named 長さ_<column>; the
-- data layer reports its failure as a field too small for the value (3163).
BEGIN;

CREATE TABLE T_所属 (
  所属ID INTEGER PRIMARY KEY CHECK (所属ID BETWEEN -32768 AND 32767),
  所属名 TEXT,
  県名 TEXT CONSTRAINT 長さ_県名 CHECK (length(県名) <= 2)
);

CREATE TABLE T_血液型 (
  血液型ID INTEGER PRIMARY KEY CHECK (血液型ID BETWEEN -32768 AND 32767),
  血液型名 TEXT
);

CREATE TABLE T_競艇場 (
  競艇場ID INTEGER NOT NULL UNIQUE CHECK (typeof(競艇場ID) = 'integer' AND 競艇場ID BETWEEN -32768 AND 32767),
  競艇場名 TEXT CONSTRAINT 長さ_競艇場名 CHECK (length(競艇場名) <= 22)
);

-- Racers; the registration number is the row key, so the table reads in its order.
CREATE TABLE T_選手 (
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

CREATE TABLE T_選手抽出 (
  選手ID INTEGER PRIMARY KEY CHECK (選手ID BETWEEN -32768 AND 32767)
);

CREATE TABLE T_レース履歴 (
  履歴ID INTEGER PRIMARY KEY AUTOINCREMENT,
  調査年 INTEGER CHECK (調査年 IS NULL OR (typeof(調査年) = 'integer' AND 調査年 BETWEEN -32768 AND 32767)),
  調査月 INTEGER CHECK (調査月 IS NULL OR (typeof(調査月) = 'integer' AND 調査月 BETWEEN -32768 AND 32767)),
  調査日 INTEGER CHECK (調査日 IS NULL OR (typeof(調査日) = 'integer' AND 調査日 BETWEEN -32768 AND 32767)),
  競艇場ID INTEGER CHECK (競艇場ID IS NULL OR (typeof(競艇場ID) = 'integer' AND 競艇場ID BETWEEN -32768 AND 32767)),
  レースNO INTEGER CHECK (レースNO IS NULL OR (typeof(レースNO) = 'integer' AND レースNO BETWEEN -32768 AND 32767)),
  選手1 INTEGER CHECK (選手1 IS NULL OR (typeof(選手1) = 'integer' AND 選手1 BETWEEN -32768 AND 32767)),
  選手2 INTEGER CHECK (選手2 IS NULL OR (typeof(選手2) = 'integer' AND 選手2 BETWEEN -32768 AND 32767)),
  選手3 INTEGER CHECK (選手3 IS NULL OR (typeof(選手3) = 'integer' AND 選手3 BETWEEN -32768 AND 32767)),
  選手4 INTEGER CHECK (選手4 IS NULL OR (typeof(選手4) = 'integer' AND 選手4 BETWEEN -32768 AND 32767)),
  選手5 INTEGER CHECK (選手5 IS NULL OR (typeof(選手5) = 'integer' AND 選手5 BETWEEN -32768 AND 32767)),
  選手6 INTEGER CHECK (選手6 IS NULL OR (typeof(選手6) = 'integer' AND 選手6 BETWEEN -32768 AND 32767)),
  結果1 INTEGER NOT NULL DEFAULT 0 CHECK (typeof(結果1) = 'integer' AND 結果1 BETWEEN -32768 AND 32767),
  結果2 INTEGER NOT NULL DEFAULT 0 CHECK (typeof(結果2) = 'integer' AND 結果2 BETWEEN -32768 AND 32767),
  結果3 INTEGER NOT NULL DEFAULT 0 CHECK (typeof(結果3) = 'integer' AND 結果3 BETWEEN -32768 AND 32767),
  結果4 INTEGER NOT NULL DEFAULT 0 CHECK (typeof(結果4) = 'integer' AND 結果4 BETWEEN -32768 AND 32767),
  結果5 INTEGER NOT NULL DEFAULT 0 CHECK (typeof(結果5) = 'integer' AND 結果5 BETWEEN -32768 AND 32767),
  結果6 INTEGER NOT NULL DEFAULT 0 CHECK (typeof(結果6) = 'integer' AND 結果6 BETWEEN -32768 AND 32767)
);

CREATE TABLE T_個別名簿 (
  名前 TEXT CONSTRAINT 長さ_名前 CHECK (length(名前) <= 22),
  生年 TEXT,
  生月 TEXT,
  生日 TEXT
);

-- よみがなID: the place of the reading's first kana in the 10 x 5 kana grid of
-- the search window (ｱ=0 ... ﾜ=45, ﾝ=49). Half-width katakana count by their
-- code; full-width katakana (and hiragana, 0x60 below them) through a map of
-- the katakana block, one character a code, holding the place + 48 ('/' for
-- none). A voiced or small kana counts under its base kana, the half-width
-- small ones (ｧ..ｫ, ｬ ｭ ｮ, ｯ) included. -1: no kana.
CREATE VIEW Q_選手 AS
SELECT s.選手ID AS _key,
       s.選手ID, s.期, s.所属ID, s.級, s.名前, s.よみがな, s.よみがな１桁,
       s.生年, s.生月, s.生日, s.血液型ID, s.勝率, s.複勝率,
       ifnull(z.所属名, '') AS 所属名,
       ifnull(b.血液型名, '') AS 血液型名,
       s.選手ID AS 登番,
       CASE WHEN u BETWEEN 65383 AND 65387 THEN u - 65383
            WHEN u = 65388 THEN 35
            WHEN u = 65389 THEN 37
            WHEN u = 65390 THEN 39
            WHEN u = 65391 THEN 17
            WHEN u BETWEEN 65393 AND 65427 THEN u - 65393
            WHEN u = 65428 THEN 35
            WHEN u = 65429 THEN 37
            WHEN u = 65430 THEN 39
            WHEN u BETWEEN 65431 AND 65436 THEN u - 65391
            WHEN u = 65437 THEN 49
            WHEN u BETWEEN 12449 AND 12532 THEN unicode(substr('00112233445566778899::;;<<==>>??@@AAABBCCDEFGHIIIJJJKKKLLLMMMNOPQRSSUUWWXYZ[\]]///a2', u - 12448, 1)) - 48
            WHEN u BETWEEN 12353 AND 12436 THEN unicode(substr('00112233445566778899::;;<<==>>??@@AAABBCCDEFGHIIIJJJKKKLLLMMMNOPQRSSUUWWXYZ[\]]///a2', u - 12352, 1)) - 48
            ELSE -1 END AS よみがなID
FROM (SELECT *, unicode(substr(よみがな, 1, 1)) AS u FROM T_選手) s
LEFT JOIN T_所属 z ON z.所属ID = s.所属ID
LEFT JOIN T_血液型 b ON b.血液型ID = s.血液型ID
ORDER BY s.選手ID;

CREATE TRIGGER Q_選手_insert INSTEAD OF INSERT ON Q_選手
BEGIN
  INSERT INTO T_選手 (選手ID, 期, 所属ID, 級, 名前, よみがな, よみがな１桁, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) VALUES (NEW.選手ID, NEW.期, NEW.所属ID, NEW.級, NEW.名前, NEW.よみがな, NEW.よみがな１桁, NEW.生年, NEW.生月, NEW.生日, NEW.血液型ID, NEW.勝率, NEW.複勝率);
END;

CREATE TRIGGER Q_選手_update INSTEAD OF UPDATE ON Q_選手
BEGIN
  UPDATE T_選手 SET 選手ID = NEW.選手ID, 期 = NEW.期, 所属ID = NEW.所属ID, 級 = NEW.級, 名前 = NEW.名前, よみがな = NEW.よみがな, よみがな１桁 = NEW.よみがな１桁, 生年 = NEW.生年, 生月 = NEW.生月, 生日 = NEW.生日, 血液型ID = NEW.血液型ID, 勝率 = NEW.勝率, 複勝率 = NEW.複勝率 WHERE 選手ID = OLD._key;
END;

CREATE TRIGGER Q_選手_delete INSTEAD OF DELETE ON Q_選手
BEGIN
  DELETE FROM T_選手 WHERE 選手ID = OLD._key;
END;

CREATE VIEW Q_選手抽出 AS
SELECT q.* FROM T_選手抽出 e JOIN Q_選手 q ON q.選手ID = e.選手ID
ORDER BY e.選手ID;

-- A racer added through the extraction query is added to both tables.
CREATE TRIGGER Q_選手抽出_insert INSTEAD OF INSERT ON Q_選手抽出
BEGIN
  INSERT INTO T_選手 (選手ID, 期, 所属ID, 級, 名前, よみがな, よみがな１桁, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) VALUES (NEW.選手ID, NEW.期, NEW.所属ID, NEW.級, NEW.名前, NEW.よみがな, NEW.よみがな１桁, NEW.生年, NEW.生月, NEW.生日, NEW.血液型ID, NEW.勝率, NEW.複勝率);
  INSERT OR IGNORE INTO T_選手抽出 (選手ID) VALUES (NEW.選手ID);
END;

CREATE TRIGGER Q_選手抽出_update INSTEAD OF UPDATE ON Q_選手抽出
BEGIN
  UPDATE T_選手 SET 選手ID = NEW.選手ID, 期 = NEW.期, 所属ID = NEW.所属ID, 級 = NEW.級, 名前 = NEW.名前, よみがな = NEW.よみがな, よみがな１桁 = NEW.よみがな１桁, 生年 = NEW.生年, 生月 = NEW.生月, 生日 = NEW.生日, 血液型ID = NEW.血液型ID, 勝率 = NEW.勝率, 複勝率 = NEW.複勝率 WHERE 選手ID = OLD._key;
  UPDATE T_選手抽出 SET 選手ID = NEW.選手ID WHERE 選手ID = OLD._key AND NEW.選手ID <> OLD._key;
END;

-- Deleting through the extraction query takes the racer out of the
-- extraction only; the racer stays.
CREATE TRIGGER Q_選手抽出_delete INSTEAD OF DELETE ON Q_選手抽出
BEGIN
  DELETE FROM T_選手抽出 WHERE 選手ID = OLD._key;
END;

CREATE VIEW Q_期 AS
SELECT DISTINCT 期 FROM T_選手 WHERE 期 IS NOT NULL ORDER BY 期;

CREATE VIEW Q_登番 AS
SELECT 選手ID AS 登番 FROM T_選手 ORDER BY 選手ID;

-- Delivered rows. 県名 is the branch as the fan handbook writes it (two characters).
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (1, '北海道', '北海');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (2, '青森', '青森');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (3, '秋田', '秋田');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (4, '岩手', '岩手');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (5, '宮城', '宮城');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (6, '山形', '山形');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (7, '福島', '福島');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (8, '群馬', '群馬');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (9, '栃木', '栃木');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (10, '茨城', '茨城');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (11, '埼玉', '埼玉');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (12, '東京', '東京');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (13, '千葉', '千葉');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (14, '神奈川', '神奈');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (15, '山梨', '山梨');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (16, '長野', '長野');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (17, '静岡', '静岡');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (18, '愛知', '愛知');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (19, '岐阜', '岐阜');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (20, '三重', '三重');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (21, '新潟', '新潟');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (22, '富山', '富山');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (23, '石川', '石川');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (24, '福井', '福井');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (25, '滋賀', '滋賀');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (26, '京都', '京都');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (27, '奈良', '奈良');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (28, '大阪', '大阪');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (29, '和歌山', '和歌');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (30, '兵庫', '兵庫');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (31, '岡山', '岡山');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (32, '広島', '広島');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (33, '山口', '山口');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (34, '島根', '島根');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (35, '鳥取', '鳥取');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (36, '徳島', '徳島');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (37, '愛媛', '愛媛');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (38, '香川', '香川');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (39, '高知', '高知');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (40, '福岡', '福岡');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (41, '長崎', '長崎');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (42, '佐賀', '佐賀');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (43, '大分', '大分');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (44, '熊本', '熊本');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (45, '宮崎', '宮崎');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (46, '鹿児島', '鹿児');
INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (47, '沖縄', '沖縄');
INSERT INTO T_血液型 (血液型ID, 血液型名) VALUES (1, 'A');
INSERT INTO T_血液型 (血液型ID, 血液型名) VALUES (2, 'B');
INSERT INTO T_血液型 (血液型ID, 血液型名) VALUES (3, 'O');
INSERT INTO T_血液型 (血液型ID, 血液型名) VALUES (4, 'AB');
INSERT INTO T_血液型 (血液型ID, 血液型名) VALUES (5, '不明');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (1, '桐生');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (2, '戸田');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (3, '江戸川');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (4, '平和島');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (5, '多摩川');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (6, '浜名湖');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (7, '蒲郡');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (8, '常滑');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (9, '津');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (10, '三国');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (11, 'びわこ');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (12, '住之江');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (13, '尼崎');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (14, '鳴門');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (15, '丸亀');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (16, '児島');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (17, '宮島');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (18, '徳山');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (19, '下関');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (20, '若松');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (21, '芦屋');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (22, '福岡');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (23, '唐津');
INSERT INTO T_競艇場 (競艇場ID, 競艇場名) VALUES (24, '大村');
COMMIT;
