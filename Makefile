# The two commands a new user needs are `make run` and `make test`; each
# first runs the set-up, which installs what is missing and is quick when
# everything is there.
.PHONY: setup build run test bench

setup:
	@bash scripts/setup.sh

build: setup
	@bash scripts/build.sh release

run: setup
	@bash scripts/run.sh

test: setup
	@bash scripts/test.sh

bench: setup
	@bash scripts/bench.sh
