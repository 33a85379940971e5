# Thin front end to scripts/: each target does all the set-up it needs.
.PHONY: build run test bench dist clean

build:
	@bash scripts/setup

run:
	@bash scripts/run

test:
	@bash scripts/test

bench:
	@bash scripts/bench

dist:
	@bash scripts/dist

clean:
	rm -rf build dist
