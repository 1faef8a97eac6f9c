-- The extraction table follows its racers: a racer given a new registration
-- number keeps his row under the new number, and a racer deleted from
-- T_選手 leaves the extraction with him. The script runs once, on a new
-- database and on one made before; rows left behind by racers deleted
-- earlier (which no list shows) go then.
BEGIN;

DELETE FROM T_選手抽出 WHERE 選手ID NOT IN (SELECT 選手ID FROM T_選手);

CREATE TRIGGER T_選手_renumber AFTER UPDATE OF 選手ID ON T_選手 WHEN NEW.選手ID <> OLD.選手ID
BEGIN
  UPDATE OR REPLACE T_選手抽出 SET 選手ID = NEW.選手ID WHERE 選手ID = OLD.選手ID;
END;

CREATE TRIGGER T_選手_delete AFTER DELETE ON T_選手
BEGIN
  DELETE FROM T_選手抽出 WHERE 選手ID = OLD.選手ID;
END;

-- The racer table's own trigger now moves the extraction row.
DROP TRIGGER Q_選手抽出_update;
CREATE TRIGGER Q_選手抽出_update INSTEAD OF UPDATE ON Q_選手抽出
BEGIN
  UPDATE T_選手 SET 選手ID = NEW.選手ID, 期 = NEW.期, 所属ID = NEW.所属ID, 級 = NEW.級, 名前 = NEW.名前, よみがな = NEW.よみがな, よみがな１桁 = NEW.よみがな１桁, 生年 = NEW.生年, 生月 = NEW.生月, 生日 = NEW.生日, 血液型ID = NEW.血液型ID, 勝率 = NEW.勝率, 複勝率 = NEW.複勝率 WHERE 選手ID = OLD._key;
END;

COMMIT;
