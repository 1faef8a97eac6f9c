-- Small values the programs keep between runs, by name (the folder last
-- used for each kind of file).
CREATE TABLE IF NOT EXISTS T_設定 (
  名前 TEXT PRIMARY KEY,
  値 TEXT NOT NULL
);
