out/levels/world_COL.zkp: art/levels/level1.bmp art/levels/level2.bmp art/levels/level3.bmp granvel.toml
out/levels/world_CHR0.zkp: art/levels/level1.bmp art/levels/level2.bmp art/levels/level3.bmp granvel.toml
out/levels/level1_SCR.zkp: art/levels/level1.bmp art/levels/level2.bmp art/levels/level3.bmp granvel.toml
out/levels/level2_SCR.zkp: art/levels/level1.bmp art/levels/level2.bmp art/levels/level3.bmp granvel.toml
out/levels/level3_SCR.zkp: art/levels/level1.bmp art/levels/level2.bmp art/levels/level3.bmp granvel.toml
out/hero_COL.zkp: art/hero.bmp granvel.toml
out/hero_CHR.zkp: art/hero.bmp granvel.toml
out/main_PRG.zkp: text/main.txt granvel.toml
out/notes_mem_MEM.zkp: text/notes_mem.txt granvel.toml
out/GAME.zkp: out/levels/world_CHR0.zkp out/levels/level1_SCR.zkp out/levels/level2_SCR.zkp out/levels/level3_SCR.zkp out/hero_CHR.zkp out/levels/world_COL.zkp out/hero_COL.zkp text/main.txt out/notes_mem_MEM.zkp granvel.toml
