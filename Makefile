# Thin front end to scripts/: each target does all the set-up it needs.
.PHONY: build run test clean

build:
	@bash scripts/setup

run:
	@bash scripts/run

test:
	@bash scripts/test

clean:
	rm -rf build
