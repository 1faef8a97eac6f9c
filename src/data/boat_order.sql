-- Stored races whose seats are the boats: 選手n and 結果n are the racer and
-- the finish of boat n, as in the official race program the race was stored
-- from. A race stored from the race table keeps the order in which the user
-- selected its racers, which need not be the boats. A database made before
-- this table existed has its races unmarked.
BEGIN;

CREATE TABLE T_艇番レース (
  履歴ID INTEGER PRIMARY KEY REFERENCES T_レース履歴 (履歴ID) ON DELETE CASCADE
);

COMMIT;
