-- The edition of the fan handbook imported last (year × 10 + half: 1 the
-- first half of the year, 2 the second), so that an older one is noticed.
CREATE TABLE IF NOT EXISTS T_ファン手帳 (
  番号 INTEGER PRIMARY KEY CHECK (番号 = 1),
  版 INTEGER NOT NULL
);
